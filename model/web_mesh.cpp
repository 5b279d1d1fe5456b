// The browser build's mesh: computed from its rule when the program starts, before the first
// frame, so the page downloads the few lines that make the tables instead of the tables.
#include "model/mesh.h"

const MeshObject meshObject = ComputeMeshObject();
