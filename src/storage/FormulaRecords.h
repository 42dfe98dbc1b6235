#pragma once

// The formula records passed around the whole program, and the limits of the
// book file formats. _fornode and FORMULA_NODE_INFO are written raw into the
// Favorites, History and last-used-formula files, so their layout is fixed:
// 32 + 256 + 4 bytes for a node, then 256 bytes of book name, no padding.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Node types of the tree file.
enum : std::uint32_t {
    FORMULA_TYPE_THEORY = 0,      // shown for reading only
    FORMULA_TYPE_CALCULABLE = 1,
    FORMULA_TYPE_FOLDER = 2,
};

// Limits of the book formats. A reader refuses anything beyond them, and the
// writers never produce it.
inline constexpr int MAX_FORMULA_PARAMS = 10;      // parameter slots of a detail record
inline constexpr int MAX_FORMULA_TEXT = 1023;      // bytes of one stored text
inline constexpr int MAX_FORMULA_LIST = 512;       // images or calculation expressions
inline constexpr int MAX_TREE_LINE = 255;          // bytes of a tree file line as written by tools
inline constexpr int MAX_SOURCE_LINE = 1023;       // bytes of a formula text line
inline constexpr std::size_t NODE_ID_SIZE = 32;
inline constexpr std::size_t NODE_NAME_SIZE = 256;
inline constexpr std::size_t BOOK_NAME_SIZE = 256;
inline constexpr std::size_t FORMULA_NODE_INFO_SIZE = 548;

// A node of a book tree: a folder or a formula.
struct _fornode {
    char m_szNodeId[NODE_ID_SIZE];      // dotted tree id such as ".3.2"
    char m_szNodeName[NODE_NAME_SIZE];  // display name
    std::uint32_t m_uiNodeType;         // FORMULA_TYPE_*
};
static_assert(sizeof(_fornode) == 292, "_fornode is stored raw");

// A node with the name of its book: the identity of a formula across the
// program. Two entries are the same formula when book and node id are equal
// ignoring ASCII case (isSameFormula).
struct FORMULA_NODE_INFO {
    _fornode m_NodeInfo;
    char m_szBook[BOOK_NAME_SIZE];
};
static_assert(sizeof(FORMULA_NODE_INFO) == FORMULA_NODE_INFO_SIZE, "FORMULA_NODE_INFO is stored raw");

// Index entry: where the formula's two records start.
struct _tag_formula_pos {
    std::uint32_t m_nID = 0;
    std::uint32_t m_nPosDes = 0;
    std::uint32_t m_nPosDet = 0;
};

// Description record: name, description, TeX and pictures.
struct _tag_formula_des {
    std::uint32_t m_nID = 0;
    std::string m_strName;
    std::string m_strDes;
    std::string m_strMime;
    std::vector<std::string> m_vecImages;
};

struct _tag_formula_parameter {
    std::string m_strName;         // symbol, TeX
    std::string m_strDescription;  // plain text
    std::string m_strAlias;        // one letter used by the calculation expressions
    std::string m_strUnit;         // TeX
    std::string m_strValue;        // fixed value; "" or "0" means none
};

// Detail record: the parameters and one calculation expression per parameter.
struct _tag_formula_detail {
    std::uint32_t m_nID = 0;
    std::uint32_t m_nParamCount = 0;  // 0 .. MAX_FORMULA_PARAMS
    std::array<_tag_formula_parameter, MAX_FORMULA_PARAMS> m_arrParams;
    std::vector<std::string> m_vecCalcFormulas;
};

// A hit of a search over all books.
struct SEARCHRESULT {
    _fornode m_NodeInfo;
    std::string m_strBook;
    std::vector<std::string> m_vecPath;  // ancestor folder names, top-most first
};

// A node record with every byte zero, as all node records start out.
_fornode makeEmptyNode();
FORMULA_NODE_INFO makeEmptyNodeInfo();

// Zero-fills the node and copies id, name (both cut to fit) and type in.
void setNode(_fornode& node, std::string_view strId, std::string_view strName,
             std::uint32_t uiType);

// Builds a FORMULA_NODE_INFO from a node and its book.
FORMULA_NODE_INFO makeNodeInfo(const _fornode& node, const std::string& strBook);

// The stored bytes of an entry (type little-endian), and back. The bytes
// after a text's terminating zero are carried unchanged; a text without any
// zero gets one in its last byte, so a damaged record is never read past its
// end.
void encodeNodeInfo(const FORMULA_NODE_INFO& info, unsigned char* bytes);
void decodeNodeInfo(const unsigned char* bytes, FORMULA_NODE_INFO& info);

// Same formula: book and node id equal ignoring ASCII case.
bool isSameFormula(const FORMULA_NODE_INFO& a, const FORMULA_NODE_INFO& b);
