// The expression front end on any text, in each angle mode: built-in calls
// expanded, tokenized, converted to postfix and evaluated on extended
// precision numbers. The first byte picks the angle mode.
#include <cstdint>
#include <string>

#include "FuzzSupport.h"
#include "engine/EngineState.h"
#include "engine/ErrorCodes.h"
#include "engine/ExprStandardize.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // Long inputs only repeat what short ones reach, at a much higher cost.
    if (size == 0 || size > 512)
        return 0;
    const std::string text(fuzz::asText(data + 1, size - 1));
    ClearErrorCode();
    SetMode(data[0] % 3);
    const REG result = ExprEval(text.c_str(), 0, 10);
    // A failed evaluation leaves a cleared real register and an error code.
    if (GetErrorCode() != 0 && result.type != REG_REAL)
        __builtin_trap();
    return 0;
}
