#include "Part.h"

Part::~Part() {}
