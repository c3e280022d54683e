#include "Rasterizer.h"

namespace QEV_Rasterizer {

Rasterizer::~Rasterizer() {}

}
