// Writing what the wizard collected: ids of new formulas and folders, the
// formula text, compiling it into "User Define", and saving an edit in
// place or as a move to other folders.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "editor/FormulaWriter.h"
#include "shell/Global.h"
#include "storage/Formulas.h"
#include "storage/StorageTestSupport.h"

namespace {

std::vector<_fornode> Tree(std::initializer_list<std::tuple<const char*, const char*, std::uint32_t>> nodes)
{
    std::vector<_fornode> vecTree;
    for (const auto& [pszId, pszName, uiType] : nodes) {
        _fornode node = makeEmptyNode();
        setNode(node, pszId, pszName, uiType);
        vecTree.push_back(node);
    }
    return vecTree;
}

std::vector<std::string> Parts(const std::string& strName)
{
    std::vector<std::string> arrParts;
    parseFormulaName(strName, arrParts);
    return arrParts;
}

FORM4_INFO Param(const char* pszName, const char* pszDescription, const char* pszAlias, const char* pszUnit,
                 const char* pszFormula)
{
    FORM4_INFO form;
    form.m_strName = pszName;
    form.m_strDescription = pszDescription;
    form.m_strAlias = pszAlias;
    form.m_strUnit = pszUnit;
    form.m_bCalculable = *pszFormula != '\0';
    form.m_strFormula = pszFormula;
    return form;
}

// Ohm's law with three parameters, the last one not calculable.
FORMULA_WIZARD_INFO OhmsLaw(const char* pszName)
{
    FORMULA_WIZARD_INFO info;
    info.m_form1.m_strName = pszName;
    info.m_form1.m_strDes = "Voltage over a resistor";
    info.m_form1.m_nType = FORMULA_TYPE_CALCULABLE;
    info.m_form2.m_strMime = "U = R I";
    info.m_form2.m_arrImages = {"UserDefineImage_0.png"};
    info.m_nParamCount = 3;
    info.m_arrForm4 = {Param("U", "Voltage", "u", "V", "r*i"), Param("R", "Resistance", "r", "\\Omega", "u/i"),
                       Param("I", "", "i", "A", "")};
    return info;
}

std::string PlanText(const FORMULA_ID_PLAN& plan)
{
    std::string strText;
    for (const auto& folder : plan.m_arrNewFolders)
        strText += "folder " + folder.m_strId + " " + folder.m_strName + "; ";
    return strText + "formula " + plan.m_strFormulaId + " " + plan.m_strFormulaName;
}

}  // namespace

// ---- Names and ids -------------------------------------------------------------------

TEST(FormulaWriter, NameParts)
{
    EXPECT_EQ(Parts("Torque"), std::vector<std::string>({"Torque"}));
    EXPECT_EQ(Parts("Mechanics/Statics/Torque"), std::vector<std::string>({"Mechanics", "Statics", "Torque"}));
    EXPECT_EQ(Parts("Mechanics/"), std::vector<std::string>({"Mechanics", ""}));
    EXPECT_EQ(getFolderPart("Mechanics/Statics/Torque"), "Mechanics/Statics/");
    EXPECT_EQ(getFolderPart("Torque"), "");
}

TEST(FormulaWriter, IdAllocation)
{
    const std::vector<_fornode> vecEmpty;
    // An earlier formula Mechanics/Statics/Torque in the book.
    const std::vector<_fornode> vecMechanics =
        Tree({{".1", "Mechanics", FORMULA_TYPE_FOLDER}, {".1.1", "Statics", FORMULA_TYPE_FOLDER},
              {".1.1.1", "Torque", FORMULA_TYPE_CALCULABLE}});
    // Folder X stands under A; B has no X of its own.
    const std::vector<_fornode> vecTwoTrees = Tree({{".1", "A", FORMULA_TYPE_FOLDER}, {".2", "B", FORMULA_TYPE_FOLDER},
                                                    {".1.1", "X", FORMULA_TYPE_FOLDER}});
    const std::vector<_fornode> vecTopFormulas =
        Tree({{".1", "f", FORMULA_TYPE_CALCULABLE}, {".3", "g", FORMULA_TYPE_THEORY}, {".2.7", "h", FORMULA_TYPE_THEORY}});
    const struct {
        const char* pszWhat;
        const std::vector<_fornode>& vecTree;
        const char* pszName;
        const char* pszPlan;
    } kCases[] = {
        {"empty book", vecEmpty, "Mechanics/Statics/Torque",
         "folder 1 Mechanics; folder 1.1 Statics; formula 1.1.1 Torque"},
        {"folder reused, one above the depth's largest", vecMechanics, "Mechanics/Other", "formula 1.2 Other"},
        {"folder matched trimmed and ignoring case", vecMechanics, " mechanics /STATICS/Lever",
         "formula 1.1.2 Lever"},
        {"new folder beside an old one", vecMechanics, "Optics/Lens", "folder 2 Optics; formula 2.2 Lens"},
        {"a folder elsewhere is not reused", vecTwoTrees, "B/X/f", "folder 2.2 X; formula 2.2.1 f"},
        {"top-level formula", vecTopFormulas, "k", "formula 4 k"},
        {"formula at depth two counts every node there", vecTopFormulas, "New/k", "folder 4 New; formula 4.8 k"},
    };
    for (const auto& k : kCases) {
        FORMULA_ID_PLAN plan;
        ASSERT_TRUE(allocateFormulaIds(k.vecTree, Parts(k.pszName), plan)) << k.pszWhat;
        EXPECT_EQ(PlanText(plan), k.pszPlan) << k.pszWhat;
    }
}

TEST(FormulaWriter, IdsThatWouldCollideAreRefused)
{
    FORMULA_ID_PLAN plan;
    // Four levels are kept by the numeric id; a fifth would share it with its folder.
    EXPECT_TRUE(allocateFormulaIds({}, Parts("a/b/c/d"), plan));
    EXPECT_FALSE(allocateFormulaIds({}, Parts("a/b/c/d/e"), plan));
    EXPECT_FALSE(allocateFormulaIds({}, {}, plan));
    // A component above 255 would wrap round onto another node's id.
    const std::vector<_fornode> vecFull = Tree({{".255", "last", FORMULA_TYPE_CALCULABLE}});
    EXPECT_FALSE(allocateFormulaIds(vecFull, Parts("one more"), plan));
    EXPECT_FALSE(allocateFormulaIds(vecFull, Parts("Folder/one more"), plan));
    EXPECT_TRUE(plan.m_strFormulaId.empty());
}

// ---- The formula text ------------------------------------------------------------------

TEST(FormulaWriter, ComposedText)
{
    FORMULA_ID_PLAN plan;
    ASSERT_TRUE(allocateFormulaIds({}, Parts("Electric/Ohm's law"), plan));
    std::string strText;
    ASSERT_TRUE(composeFormulaText(OhmsLaw("Electric/Ohm's law"), plan, strText));
    EXPECT_EQ(strText,
              "*\r\n"
              "ForId=1\r\n"
              "ForName= Electric\r\n"
              "ForDes= \r\n"
              "***\r\n"
              "ForId=1.1\r\n"
              "ForType= 1\r\n"
              "ForName= Ohm's law\r\n"
              "ForDes= Voltage over a resistor\r\n"
              "ForMime= U = R I\r\n"
              "Para= \"U\" \"Voltage\" \"u\" \"V\" \"0\"\r\n"
              "Para= \"R\" \"Resistance\" \"r\" \"\\Omega\" \"0\"\r\n"
              "Para= \"I\" \"\" \"i\" \"A\" \"0\"\r\n"
              "For= \"r*i\" \"u/i\" \"\" \r\n"
              "Image= \"UserDefineImage_0.png\" \r\n");
}

TEST(FormulaWriter, TextThatWouldNotReadBackIsRefused)
{
    FORMULA_ID_PLAN plan;
    ASSERT_TRUE(allocateFormulaIds({}, Parts("Ohm"), plan));
    std::string strText;
    const struct {
        const char* pszWhat;
        void (*change)(FORMULA_WIZARD_INFO&);
    } kCases[] = {
        {"quote in a parameter name", [](FORMULA_WIZARD_INFO& i) { i.m_arrForm4[0].m_strName = "\"U\""; }},
        {"quote in an expression", [](FORMULA_WIZARD_INFO& i) { i.m_arrForm4[0].m_strFormula = "r*\"i\""; }},
        {"quote in a picture name", [](FORMULA_WIZARD_INFO& i) { i.m_form2.m_arrImages = {"a\"b.png"}; }},
        {"line break in the description", [](FORMULA_WIZARD_INFO& i) { i.m_form1.m_strDes = "two\nlines"; }},
        {"description longer than a line", [](FORMULA_WIZARD_INFO& i) { i.m_form1.m_strDes = std::string(1100, 'x'); }},
        {"expressions longer than a line", [](FORMULA_WIZARD_INFO& i) {
             for (auto& p : i.m_arrForm4)
                 p.m_strFormula = std::string(600, 'r');
         }},
    };
    for (const auto& k : kCases) {
        FORMULA_WIZARD_INFO info = OhmsLaw("Ohm");
        k.change(info);
        EXPECT_FALSE(composeFormulaText(info, plan, strText)) << k.pszWhat;
    }
}

// ---- Saving into the user book -------------------------------------------------------------

class FormulaSaveTest : public TempHomeTest {
protected:
    std::vector<_fornode> UserTree()
    {
        FormulasFolderSwitch useBook(USER_DEFINE_BOOK);
        std::vector<_fornode> vecTree;
        getFormulasTreeFromFileAndSort2(vecTree, getTreeFilename(), true);
        return vecTree;
    }

    std::vector<std::string> UserTreeLines()
    {
        std::vector<std::string> arrLines;
        for (const _fornode& node : UserTree())
            arrLines.push_back(std::string(node.m_szNodeId) + " " + node.m_szNodeName + " " +
                               std::to_string(node.m_uiNodeType));
        return arrLines;
    }

    bool Records(const std::string& strBook, const std::string& strId, _tag_formula_des& des, _tag_formula_detail& det)
    {
        FormulasFolderSwitch useBook(strBook);
        _tag_formula_pos pos;
        return getFormulaRecords(strId, pos, des, det);
    }
};

TEST_F(FormulaSaveTest, NewFormulasGoIntoTheUserBook)
{
    _fornode node = makeEmptyNode();
    g_sFormulasFolder = "Math";
    ASSERT_TRUE(saveNewFormula2(OhmsLaw("Mechanics/Statics/Torque"), &node));
    EXPECT_EQ(g_sFormulasFolder, "Math");
    EXPECT_STREQ(node.m_szNodeId, ".1.1.1");
    ASSERT_TRUE(saveNewFormula2(OhmsLaw("Mechanics/Other"), &node));
    EXPECT_STREQ(node.m_szNodeId, ".1.2");
    EXPECT_EQ(UserTreeLines(), std::vector<std::string>({".1 Mechanics 2", ".1.1 Statics 2", ".1.1.1 Torque 1",
                                                         ".1.2 Other 1"}));

    _tag_formula_des des;
    _tag_formula_detail det;
    ASSERT_TRUE(Records(USER_DEFINE_BOOK, ".1.2", des, det));
    EXPECT_EQ(des.m_strName, "Other");
    EXPECT_EQ(des.m_strDes, "Voltage over a resistor");
    EXPECT_EQ(des.m_strMime, "U = R I");
    EXPECT_EQ(des.m_vecImages, std::vector<std::string>({"UserDefineImage_0.png"}));
    ASSERT_EQ(det.m_nParamCount, 3u);
    EXPECT_EQ(det.m_arrParams[1].m_strName, "R");
    EXPECT_EQ(det.m_arrParams[1].m_strUnit, "\\Omega");
    EXPECT_EQ(det.m_arrParams[2].m_strDescription, "");
    EXPECT_EQ(det.m_arrParams[2].m_strValue, "0");
    EXPECT_EQ(det.m_vecCalcFormulas, std::vector<std::string>({"r*i", "u/i", ""}));

    // The raw file holds the last formula written, not every one.
    const Bytes raw = readBytes(path(RAW_DATA_FILE_NAME));
    const std::string strRaw(raw.begin(), raw.end());
    EXPECT_EQ(strRaw.find("Torque"), std::string::npos);
    EXPECT_NE(strRaw.find("ForName= Other"), std::string::npos);
}

TEST_F(FormulaSaveTest, AFileThatCannotBeWrittenIsAFailure)
{
    // The raw data file's name is taken by a folder.
    std::filesystem::create_directory(path(RAW_DATA_FILE_NAME));
    EXPECT_FALSE(saveNewFormula2(OhmsLaw("Ohm")));
    EXPECT_TRUE(UserTree().empty());
}

// ---- Editing ---------------------------------------------------------------------------------

TEST(FormulaWriter, FormInfoFromRecords)
{
    _tag_formula_des des;
    des.m_strName = "Torque";
    des.m_strDes = "Turning force";
    des.m_strMime = "\\tau = r F";
    des.m_vecImages = {"t.png"};
    _tag_formula_detail det;
    det.m_nParamCount = 2;
    det.m_arrParams[0] = {"\\tau", "Torque", "t", "N m", ""};
    det.m_arrParams[1] = {"F", "", "f", "N", ""};
    det.m_vecCalcFormulas = {"r*f"};
    const FORMULA_WIZARD_INFO info = formInfoFromRecords(des, det, "Mechanics/");
    EXPECT_EQ(info.m_form1.m_strName, "Mechanics/Torque");
    EXPECT_EQ(info.m_form1.m_nType, FORMULA_TYPE_CALCULABLE);
    EXPECT_EQ(info.m_nParamCount, 2);
    ASSERT_EQ(info.m_arrForm4.size(), 2u);
    EXPECT_TRUE(info.m_arrForm4[0].m_bCalculable);
    EXPECT_EQ(info.m_arrForm4[0].m_strFormula, "r*f");
    EXPECT_FALSE(info.m_arrForm4[1].m_bCalculable);  // no expression entry at all

    det.m_vecCalcFormulas = {"", ""};
    EXPECT_EQ(getFormulaType(det), FORMULA_TYPE_THEORY);
    det.m_vecCalcFormulas = {"", "x"};
    EXPECT_EQ(getFormulaType(det), FORMULA_TYPE_CALCULABLE);
}

class FormulaEditTest : public FormulaSaveTest {
protected:
    void SetUp() override
    {
        FormulaSaveTest::SetUp();
        ASSERT_TRUE(compileText(USER_DEFINE_BOOK,
                                "*\nForId=1\nForName=Mechanics\n*\nForId=1.1\nForName=Statics\n*\nForId=2\nForName=Optics\n"
                                "***\nForId=1.1.1\nForType=1\nForName=Torque\nForDes=Turning\nForMime=\\tau=rF\n"
                                "Para=\"t\" \"Torque\" \"t\" \"N m\" \"0\"\nPara=\"r\" \"Arm\" \"r\" \"m\" \"0\"\n"
                                "Para=\"F\" \"Force\" \"f\" \"N\" \"0\"\nFor=\"r*f\" \"t/f\" \"t/r\"\nImage=\n"));
        m_editing = NodeInfo(".1.1.1", "Torque", USER_DEFINE_BOOK);
        FormulasFolderSwitch useBook(USER_DEFINE_BOOK);
        ASSERT_TRUE(getFormulaRecords(".1.1.1", m_pos, m_des, m_det));
    }

    static FORMULA_NODE_INFO NodeInfo(const char* pszId, const char* pszName, const char* pszBook)
    {
        _fornode node = makeEmptyNode();
        setNode(node, pszId, pszName, FORMULA_TYPE_CALCULABLE);
        return makeNodeInfo(node, pszBook);
    }

    FORMULA_WIZARD_INFO Pages() { return formInfoFromRecords(m_des, m_det, getBackupPath(m_editing)); }

    std::vector<Bytes> BookBytes()
    {
        std::vector<Bytes> arrBytes;
        for (const std::string& strPath : bookPaths(USER_DEFINE_BOOK))
            arrBytes.push_back(readBytes(strPath));
        return arrBytes;
    }

    FORMULA_NODE_INFO m_editing;
    _tag_formula_pos m_pos;
    _tag_formula_des m_des;
    _tag_formula_detail m_det;
};

TEST_F(FormulaEditTest, BackupPathIsTheFolders)
{
    EXPECT_EQ(getBackupPath(m_editing), "Mechanics/Statics/");
    EXPECT_EQ(getBackupPath(NodeInfo(".1.1", "x", "Math")), "");
    EXPECT_EQ(Pages().m_form1.m_strName, "Mechanics/Statics/Torque");
}

TEST_F(FormulaEditTest, SameFoldersEditInPlace)
{
    FORMULA_WIZARD_INFO info = Pages();
    info.m_form1.m_strName = "mechanics/STATICS/Moment";  // folders compared ignoring case
    info.m_form1.m_strDes = "A much longer description than before";
    const EDIT_SAVE_OUTCOME outcome = saveEditedFormula(m_editing, m_pos, info, getBackupPath(m_editing));
    ASSERT_EQ(outcome.m_nResult, EDIT_SAVE_IN_PLACE) << outcome.m_strMessage;
    EXPECT_STREQ(outcome.m_newInfo.m_NodeInfo.m_szNodeId, ".1.1.1");
    EXPECT_STREQ(outcome.m_newInfo.m_NodeInfo.m_szNodeName, "Moment");

    _tag_formula_des des;
    _tag_formula_detail det;
    ASSERT_TRUE(Records(USER_DEFINE_BOOK, ".1.1.1", des, det));
    EXPECT_EQ(des.m_strName, "Moment");
    EXPECT_EQ(des.m_strDes, "A much longer description than before");
    EXPECT_EQ(det.m_vecCalcFormulas, std::vector<std::string>({"r*f", "t/f", "t/r"}));
    EXPECT_EQ(UserTreeLines().size(), 4u);
}

TEST_F(FormulaEditTest, OtherFoldersMoveTheFormula)
{
    FORMULA_WIZARD_INFO info = Pages();
    info.m_form1.m_strName = "Optics/Lenses/Torque";
    const EDIT_SAVE_OUTCOME outcome = saveEditedFormula(m_editing, m_pos, info, getBackupPath(m_editing));
    ASSERT_EQ(outcome.m_nResult, EDIT_SAVE_MOVED) << outcome.m_strMessage;
    // Written before the old one goes, so its id is one above the old one's at that depth.
    EXPECT_STREQ(outcome.m_newInfo.m_NodeInfo.m_szNodeId, ".2.2.2");
    EXPECT_STREQ(outcome.m_newInfo.m_szBook, USER_DEFINE_BOOK);
    EXPECT_EQ(UserTreeLines(), std::vector<std::string>({".1 Mechanics 2", ".1.1 Statics 2", ".2 Optics 2",
                                                         ".2.2 Lenses 2", ".2.2.2 Torque 1"}));
    _tag_formula_des des;
    _tag_formula_detail det;
    EXPECT_FALSE(Records(USER_DEFINE_BOOK, ".1.1.1", des, det));
    ASSERT_TRUE(Records(USER_DEFINE_BOOK, ".2.2.2", des, det));
    EXPECT_EQ(des.m_strDes, "Turning");
    EXPECT_EQ(det.m_nParamCount, 3u);
}

TEST_F(FormulaEditTest, AMoveIsCheckedFirst)
{
    const std::vector<Bytes> before = BookBytes();
    FORMULA_WIZARD_INFO info = Pages();
    info.m_form1.m_strName = "Optics/Torque";
    info.m_arrForm4[0].m_strFormula = "r/(f-f)";
    const EDIT_SAVE_OUTCOME outcome = saveEditedFormula(m_editing, m_pos, info, getBackupPath(m_editing));
    EXPECT_EQ(outcome.m_nResult, EDIT_SAVE_INVALID);
    EXPECT_EQ(outcome.m_strMessage, "Parameter 1:\nCalculate formula is incalculable.");
    EXPECT_EQ(BookBytes(), before);
}

TEST_F(FormulaEditTest, AMoveThatCannotBeWrittenKeepsTheFormula)
{
    std::filesystem::create_directory(path(RAW_DATA_FILE_NAME));
    const std::vector<Bytes> before = BookBytes();
    FORMULA_WIZARD_INFO info = Pages();
    info.m_form1.m_strName = "Optics/Torque";
    const EDIT_SAVE_OUTCOME outcome = saveEditedFormula(m_editing, m_pos, info, getBackupPath(m_editing));
    EXPECT_EQ(outcome.m_nResult, EDIT_SAVE_FAILED);
    // A folder stands where the raw text goes: no reason of the disk's to name.
    EXPECT_EQ(outcome.m_strMessage, "Failed to save the formula!\nThe file could not be written.");
    EXPECT_EQ(BookBytes(), before);
}

TEST_F(FormulaEditTest, ShippedBooksEditInPlaceWhateverTheName)
{
    ASSERT_TRUE(compileText("Math", SAMPLE_SOURCE));
    const FORMULA_NODE_INFO work = NodeInfo(".1.1", "Work", "Math");
    _tag_formula_pos pos;
    _tag_formula_des des;
    _tag_formula_detail det;
    {
        FormulasFolderSwitch useBook("Math");
        ASSERT_TRUE(getFormulaRecords(".1.1", pos, des, det));
    }
    FORMULA_WIZARD_INFO info = formInfoFromRecords(des, det, getBackupPath(work));
    EXPECT_EQ(info.m_form1.m_strName, "Work");
    info.m_form1.m_strName = "Work/Energy";
    info.m_form1.m_nType = FORMULA_TYPE_THEORY;
    info.m_nParamCount = 0;
    info.m_arrForm4.clear();
    const EDIT_SAVE_OUTCOME outcome = saveEditedFormula(work, pos, info, getBackupPath(work));
    ASSERT_EQ(outcome.m_nResult, EDIT_SAVE_IN_PLACE) << outcome.m_strMessage;
    ASSERT_TRUE(Records("Math", ".1.1", des, det));
    EXPECT_EQ(des.m_strName, "Work/Energy");
    EXPECT_EQ(det.m_nParamCount, 0u);
    _fornode node = makeEmptyNode();
    ASSERT_TRUE(getTreeNode(work, node));
    EXPECT_STREQ(node.m_szNodeName, "Work/Energy");
    EXPECT_EQ(node.m_uiNodeType, FORMULA_TYPE_THEORY);
}
