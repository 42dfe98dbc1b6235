// The small files the program reads at start and on the way: Favorites and
// History, the browser's session, the last used formula, an input line's
// data block, and the store of typed values. The first byte picks the file.
// What reads without complaint must write back to the same meaning.
#include <cstdint>
#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "browser/FormulaBrowser.h"
#include "calc/FormulaValueStore.h"
#include "calc/LedTokenModel.h"
#include "shell/Global.h"
#include "storage/BookFolders.h"
#include "storage/FavoritesHistory.h"

namespace {

void favoritesAndHistory(std::string_view bytes)
{
    fuzz::writeFile("Favorites.sav", bytes);
    std::vector<FORMULA_NODE_INFO> list;
    loadFormulaList(getFavoritesFilename(), list);
    if (list.size() != bytes.size() / FORMULA_NODE_INFO_SIZE)
        __builtin_trap();
    for (const FORMULA_NODE_INFO& entry : list)
        findFormulaInList(list, entry);
    sortFormulaListByName(list);
}

void session(std::string_view bytes)
{
    fuzz::writeFile("LastSession.sav", bytes);
    g_sFormulasFolder.clear();
    m_arrTrace.clear();
    // A session is taken whole or not at all, and names one of our books.
    if (loadLastSession() && !g_sFormulasFolder.empty() && findBookName(g_sFormulasFolder).empty())
        __builtin_trap();
    m_arrTrace.clear();
    g_sFormulasFolder.clear();
}

void lastUsedFormula(std::string_view bytes)
{
    fuzz::writeFile("LastUsedFormula.dat", bytes);
    FORMULA_NODE_INFO info;
    if (loadLastUsedFormula(info) != (bytes.size() >= FORMULA_NODE_INFO_SIZE))
        __builtin_trap();
}

void lineBlock(std::string_view bytes)
{
    LedTokenModel line;
    if (!line.SetRawInputString(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size()))
        return;
    line.UpdateVisibleWindow();
    line.OutputParsedString();
    std::array<unsigned char, LED_DATA_BLOCK_SIZE> block;
    LedTokenModel again;
    if (!line.BuildDataBlock(block) || !again.SetRawInputString(block.data(), block.size()) ||
        again.Tokens() != line.Tokens())
        __builtin_trap();
}

void typedValues(std::string_view bytes)
{
    std::vector<TYPED_VALUES> list;
    if (!decodeTypedValues(bytes, list))
        return;
    std::vector<TYPED_VALUES> again;
    if (!decodeTypedValues(encodeTypedValues(list), again) || again.size() != list.size())
        __builtin_trap();
    for (std::size_t i = 0; i < list.size(); ++i) {
        if (!again[i].sameValues(list[i]))
            __builtin_trap();
        std::array<unsigned char, LED_DATA_BLOCK_SIZE> block;
        for (const TYPED_ROW& row : list[i].m_vecRows)
            ledBlockFromTypedRow(row, block);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0 || size > 65536)
        return 0;
    fuzz::clearHome();
    const std::string_view bytes = fuzz::asText(data + 1, size - 1);
    switch (data[0] % 5) {
    case 0:
        favoritesAndHistory(bytes);
        break;
    case 1:
        session(bytes);
        break;
    case 2:
        lastUsedFormula(bytes);
        break;
    case 3:
        lineBlock(bytes);
        break;
    default:
        typedValues(bytes);
        break;
    }
    return 0;
}
