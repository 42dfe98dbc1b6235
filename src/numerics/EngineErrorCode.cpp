// The engine's sticky error code (engine/ErrorCodes.h). It is kept here,
// beside the number library's own error flag, because the root finder and the
// financial functions of this folder report through it: the number library
// then links on its own, and the engine uses the same code.
#include "engine/ErrorCodes.h"

#include "numerics/qlib.h"

int g_ErrCode = ERR_SYNTAX;

void ClearErrorCode()
{
    g_ErrCode = ERR_NONE;
    Clearmerror();
}

int GetErrorCode()
{
    return g_ErrCode;
}

void SetErrorCode(int nCode)
{
    g_ErrCode = nCode;
}
