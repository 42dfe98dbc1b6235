// Number text both ways: any text read as an extended-precision number
// (asctoq), that number written back in positional and exponent form and as
// the calculation screen shows it in every base and word size; and the
// digit strings of the bit operators (NumberConverter). The first byte picks
// the number of digits and the base.
#include <cstdint>
#include <cstring>
#include <string>

#include "FuzzSupport.h"
#include "engine/NumberConverter.h"
#include "numerics/DisplayFormat.h"
#include "numerics/qlib.h"

namespace {

const int kBases[] = {BASE_BINARY, BASE_OCTAL, BASE_DECIMAL, BASE_HEXADECIMAL};
const int kWords[] = {WORD_8, WORD_16, WORD_32, WORD_64};

// A text written into a buffer of nSize bytes ends inside it.
void expectTerminated(const char* szText, std::size_t nSize)
{
    if (std::memchr(szText, '\0', nSize) == nullptr)
        __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0 || size > 256)
        return 0;
    const int nDigits = data[0] % 40;
    const std::string text(fuzz::asText(data + 1, size - 1));

    qreal value;
    asctoq(text.c_str(), value);
    char szPositional[QASCLEN], szExponent[QASCLEN];
    qtoasc(value, szPositional, nDigits);
    qtoascex(value, szExponent, nDigits);
    expectTerminated(szPositional, sizeof szPositional);
    expectTerminated(szExponent, sizeof szExponent);

    char szMantissa[DISPLAY_BUFFER_SIZE], szExp[DISPLAY_BUFFER_SIZE];
    const int nBase = kBases[(data[0] >> 6) & 3];
    const int nWord = kWords[(data[0] >> 4) & 3];
    ConstructDisplayString(szMantissa, szExp, nBase, nWord, value, FORMAT_AUTO, nDigits % 16, 4);
    expectTerminated(szMantissa, sizeof szMantissa);
    expectTerminated(szExp, sizeof szExp);
    std::u16string grouped(szMantissa, szMantissa + std::strlen(szMantissa));
    GroupNumbers(grouped, u'.', u',', nBase);

    for (int nRadix : {2, 8, 10, 16})
        NumberConverter(text.c_str(), nRadix);
    return 0;
}
