#include "Callback.h"

namespace QEV_Lib {

Callback::~Callback() {}

}
