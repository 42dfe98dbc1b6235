// Every named constant is the nearest 336-bit number to its true value, as
// MPFR computes it. A mismatch prints the words the constant should have.

#include <gtest/gtest.h>
#include <mpfr.h>

#include <functional>
#include <string>
#include <vector>

#include "QMpfr.h"
#include "numerics/qlib.h"

using namespace qtest;

namespace {

struct ConstRow {
    const char* pName;
    const unsigned short* pValue;
    std::function<void(mpfr_ptr)> fnExact;  // the true value, to 2000 bits
};

std::vector<ConstRow> Rows()
{
    std::vector<ConstRow> rows = {
        {"qzero", qzero, [](mpfr_ptr r) { mpfr_set_ui(r, 0, MPFR_RNDN); }},
        {"qone", qone, [](mpfr_ptr r) { mpfr_set_ui(r, 1, MPFR_RNDN); }},
        {"qtwo", qtwo, [](mpfr_ptr r) { mpfr_set_ui(r, 2, MPFR_RNDN); }},
        {"qhalf", qhalf, [](mpfr_ptr r) { mpfr_set_d(r, 0.5, MPFR_RNDN); }},
        {"qpi", qpi, [](mpfr_ptr r) { mpfr_const_pi(r, MPFR_RNDN); }},
        {"qsqrt2", qsqrt2, [](mpfr_ptr r) { mpfr_sqrt_ui(r, 2, MPFR_RNDN); }},
        {"qlog2", qlog2, [](mpfr_ptr r) { mpfr_const_log2(r, MPFR_RNDN); }},
        {"qt3p8", qt3p8, [](mpfr_ptr r) { mpfr_sqrt_ui(r, 2, MPFR_RNDN); mpfr_add_ui(r, r, 1, MPFR_RNDN); }},
        {"qtp8", qtp8, [](mpfr_ptr r) { mpfr_sqrt_ui(r, 2, MPFR_RNDN); mpfr_sub_ui(r, r, 1, MPFR_RNDN); }},
        // C1: ln 2 cut to its leading 32 bits; C2: the rest, rounded.
        {"C1", C1,
         [](mpfr_ptr r) {
             mpfr_t c1;
             mpfr_init2(c1, 32);
             mpfr_const_log2(c1, MPFR_RNDZ);
             mpfr_set(r, c1, MPFR_RNDN);
             mpfr_clear(c1);
         }},
        {"C2", C2,
         [](mpfr_ptr r) {
             mpfr_t c1;
             mpfr_init2(c1, 32);
             mpfr_const_log2(r, MPFR_RNDN);
             mpfr_const_log2(c1, MPFR_RNDZ);
             mpfr_sub(r, r, c1, MPFR_RNDN);
             mpfr_clear(c1);
         }},
        {"qcone.r", qcone.r, [](mpfr_ptr r) { mpfr_set_ui(r, 1, MPFR_RNDN); }},
        {"qcone.i", qcone.i, [](mpfr_ptr r) { mpfr_set_ui(r, 0, MPFR_RNDN); }},
        {"qczero.r", qczero.r, [](mpfr_ptr r) { mpfr_set_ui(r, 0, MPFR_RNDN); }},
        {"qczero.i", qczero.i, [](mpfr_ptr r) { mpfr_set_ui(r, 0, MPFR_RNDN); }},
    };
    for (int k = 0; k < 13; ++k) {
        unsigned long nPower = 1ul << (12 - k);
        rows.push_back({"qtens", qtens[k], [nPower](mpfr_ptr r) { mpfr_ui_pow_ui(r, 10, nPower, MPFR_RNDN); }});
        rows.push_back({"qmtens", qmtens[k], [nPower](mpfr_ptr r) {
                            mpfr_ui_pow_ui(r, 10, nPower, MPFR_RNDN);
                            mpfr_ui_div(r, 1, r, MPFR_RNDN);
                        }});
    }
    return rows;
}

TEST(Constants, AreTheNearest336BitNumbers)
{
    mpfr_t exact;
    mpfr_init2(exact, 2000);
    for (const ConstRow& row : Rows()) {
        row.fnExact(exact);
        unsigned short expect[NQ];
        ASSERT_TRUE(MpfrToQ(exact, expect)) << row.pName;
        std::string strGot = QHex(row.pValue), strWant = QHex(expect);
        EXPECT_EQ(strGot, strWant) << row.pName << " should be " << strWant;
    }
    mpfr_clear(exact);
}

TEST(Constants, Bmask)
{
    // Entry i keeps the top 16 - i bits of a word.
    for (int i = 0; i <= 16; ++i)
        EXPECT_EQ(bmask[i], (unsigned short)(0xFFFFu << i)) << i;
}

}  // namespace
