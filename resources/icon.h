// The program's icon (IDI_RIBBON) as pixels, for platforms without resource files.
#pragma once

#include <cstdint>

constexpr int kIconSize = 32;
// kIconSize x kIconSize pixels, 0xAARRGGBB, row 0 at the top.
const std::uint32_t* RibbonIconPixels();
