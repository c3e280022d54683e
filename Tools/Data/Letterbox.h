#pragma once

#include "Image.h"

// The wide pictures: the title card shown while the show loads (640x360,
// landing from row 60) and the closing picture the tunnel reveals (640x368).
Colour_Image Make_Title_Card();
Colour_Image Make_Closing_Picture();
