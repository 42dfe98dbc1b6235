#pragma once

// The formula library on disk. A book is four files in the documents folder,
// named after the book held in g_sFormulasFolder:
//
//   <Book>_fortree.dat    text, one line per node: "<id> =<name>= <type>\r\n"
//   <Book>_indexfor.dat   int32 N, then N entries of (id, description offset,
//                         detail offset), uint32 each
//   <Book>_fordes.dat     description records: uint32 id, name, description,
//                         TeX, int32 image count, image names
//   <Book>_fordetail.dat  detail records: uint32 id, uint32 parameter count,
//                         5 texts per parameter, int32 expression count,
//                         the expressions
//
// Integers are 32-bit little-endian; a text is an int32 byte length and its
// bytes, without a terminating zero. Records follow each other unpadded.
//
// Every function returns a success flag and leaves its outputs empty on
// failure; none throws. Readers check every stored count and length against
// the format's limits and the file's size before they use it.

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "storage/FormulaRecords.h"

// ---- File names ------------------------------------------------------------

// Paths of the current book's files in the documents folder.
std::string getTreeFilename();
std::string getIndexFilename();
std::string getDesFilename();
std::string getDetailFilename();

// The shared temporary files every book write goes through ("tmp_fortree.dat",
// ...). They carry no book name: the writer lock lets one write run at a time
// (BookCommit.h).
std::string getTreeFilenameTmp();
std::string getIndexFilenameTmp();
std::string getDesFilenameTmp();
std::string getDetailFilenameTmp();

// The four file name suffixes, in the order tree, index, description, detail.
extern const char* const g_arrBookFileNames[4];

// ---- Records ---------------------------------------------------------------

// Empties name, description, TeX and images; keeps the id.
void emptyFormulaDes(_tag_formula_des& des);

// Sets id and count to 0, empties every parameter slot and the expressions.
void emptyFormulaDetail(_tag_formula_detail& det);

// ---- Reading ---------------------------------------------------------------

// The whole index of the current book. False (and an empty list) when the
// file cannot be opened or its count does not fit the file.
bool getIndexFormula(std::vector<_tag_formula_pos>& vecPos);

// The index entry whose numeric id is that of the tree id (".3.2", "3.2");
// with several equal ids the last one wins.
bool getIndexFormula(const std::string& strTreeId, _tag_formula_pos& pos);

// The description record at nPosition of the description file. False when
// the record there carries another id than nID (a stale index never returns
// another formula's data) or is damaged; des is then empty (id kept).
bool getDesFormula(std::uint32_t nID, std::uint32_t nPosition, _tag_formula_des& des);

// The detail record at nPosition of the detail file, checked like
// getDesFormula. On failure det is emptied (emptyFormulaDetail).
bool getDetFormula(std::uint32_t nID, std::uint32_t nPosition, _tag_formula_detail& det);

// All three records of the formula with this tree id, the way the
// calculation screen and the detail pages read a formula.
bool getFormulaRecords(const std::string& strTreeId, _tag_formula_pos& pos,
                       _tag_formula_des& des, _tag_formula_detail& det);

// ---- Tree ------------------------------------------------------------------

// Parses one tree file line into node. False for a line that is not a node
// line (blank, or without the "=name=" part).
bool parseTreeLine(std::string_view line, _fornode& node);

// Folders first, then calculable, then theory formulas; each group by name
// ignoring ASCII case.
bool sort_condition(const _fornode& a, const _fornode& b);

// By tree id ignoring ASCII case: every node after all of its ancestors.
bool sort_condition2(const _fornode& a, const _fornode& b);

// The nodes of the tree file at strPath, in file order, or sorted by
// sort_condition (...AndSort) / sort_condition2 (...AndSort2) when bSort is
// set. Equal nodes keep their file order.
bool getFormulasTreeFromFileAndSort(std::vector<_fornode>& vecNodes, const std::string& strPath,
                                    bool bSort);
bool getFormulasTreeFromFileAndSort2(std::vector<_fornode>& vecNodes, const std::string& strPath,
                                     bool bSort);

// The first node of info's book whose id equals info's node id ignoring case.
bool getTreeNode(const FORMULA_NODE_INFO& info, _fornode& node);

// Names of the node's ancestor folders, top-most first. False only when the
// book's tree file cannot be opened.
bool getFormulaPathFromBook(const FORMULA_NODE_INFO& info, std::vector<std::string>& vecPath);

// ---- Formula text and compilation -------------------------------------------

// Numeric id of a tree id: up to four dot-separated decimal components, one
// byte each, the first in the highest byte (".3.2" -> 0x03020000). Dots at
// both ends are ignored, missing components count as 0, a component keeps
// only its low 8 bits.
void parseFormulaId(const std::string& strId, std::uint32_t& nID);

// "key = value": both trimmed of " \r\n\t". False (both empty) without "=".
bool splitString(const std::string& line, std::string& key, std::string& value);

// The five quoted fields of a "Para" value: name, description, alias, unit,
// value. Missing fields are empty; false when fewer than five were found.
bool parseFormulaParam(const std::string& value, _tag_formula_parameter& param);

// Every text between a pair of double quotes, in order; an unpaired last
// quote is ignored.
void splitStringArray(const std::string& value, std::vector<std::string>& vecItems);

// Writers of one record at the file's current position. False when a write
// fails or the record is beyond the format's limits (then nothing sensible
// was written and the caller must give up the file).
bool appendIndexFile(std::FILE* pFile, std::uint32_t nID, std::uint32_t nPosDes,
                     std::uint32_t nPosDet);
bool appendDesFile(std::FILE* pFile, const _tag_formula_des& des);
bool appendDetFile(std::FILE* pFile, const _tag_formula_detail& det);

// Writes "<id> =<name>= <type>\r\n", with "." put in front of the id unless
// it already ends in ".".
bool appendTreeFile(std::FILE* pFile, const std::string& strId, const std::string& strName,
                    int nType);

// What the compiler noticed in its source that it could not take as written
// (a record without its closing line, an 11th parameter, ...). Line numbers
// start at 1.
struct FormulaTextWarning {
    int m_nLine;
    std::string m_strMessage;
};

// Compiles the formula text file at strPath into the current book
// (g_sFormulasFolder). Without bAppend the book is created afresh; with it the
// records are appended to the existing book (or a new one when it has none).
// Either way the whole new book is written beside the old one and committed
// in one step (BookCommit.h): an interruption at any instant leaves the old
// book or the new one. False when the source or a book file cannot be
// opened, the existing index is damaged, the writer lock is busy, or a write
// fails; the book is then left as it was (getLastBookWriteError says why).
// Warnings about malformed source lines go to pWarnings when given.
bool createFormulaDataFromTextFile(const std::string& strPath, bool bAppend,
                                   std::vector<FormulaTextWarning>* pWarnings = nullptr);

// ---- Editing -----------------------------------------------------------------

// Rewrite info's book with the formula replaced by des and det (edit) or left
// out (delete). The new book is written to the temporary files and committed
// in one step (BookCommit.h), so an interrupted rewrite leaves the old book or
// the new one; a failed one leaves the book as it was and no temporary file
// behind. g_sFormulasFolder is the same afterwards.
bool editFormulaInBook(const FORMULA_NODE_INFO& info, const _tag_formula_des& des,
                       const _tag_formula_detail& det);
bool deleteFormulaFromBook(const FORMULA_NODE_INFO& info);
