#pragma once

#include "Image.h"

// The six 256x256 pictures the grid and the tunnel wrap: each tiles without a
// seam in both directions.
Colour_Image Make_Krazy_Texture();        // wild and colourful
Colour_Image Make_Panel_Texture();        // machined metal panels
Colour_Image Make_Red_Grunge_Texture();   // rusted red plates
Colour_Image Make_Blue_Texture();         // blue crystal cells
Colour_Image Make_Green_Texture();        // green veins
Colour_Image Make_Swirl_Texture();        // bold bands that vortices twist into spirals
