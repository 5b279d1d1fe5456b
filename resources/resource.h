// Resource ids, shared by the resource script and the code that loads the resources; plain
// preprocessor definitions, which the resource compiler reads too.
#pragma once

// The program icon.
#define IDI_RIBBON 101
