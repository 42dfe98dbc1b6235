#include "Version.h"

const char* CalcudexVersion()
{
    return CALCUDEX_VERSION;
}
