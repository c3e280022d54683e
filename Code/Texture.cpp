#include "Texture.h"

Texture::~Texture() {}
