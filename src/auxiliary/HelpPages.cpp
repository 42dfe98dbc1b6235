#include "auxiliary/HelpPages.h"

#include <algorithm>

std::vector<int> helpPagesToPrepare(int nPage)
{
    std::vector<int> arrPages;
    if (nPage < 0 || nPage >= HELP_PAGE_COUNT)
        return arrPages;
    for (int p = nPage - 1; p <= nPage + 1; ++p) {
        if (p >= 0 && p < HELP_PAGE_COUNT)
            arrPages.push_back(p);
    }
    return arrPages;
}

std::string helpPageImageName(int nPage)
{
    return "Help/Help" + std::to_string(nPage + 1) + ".png";
}

std::string contextHelpPageName(int nContentId, int nContextHelpId)
{
    if (nContentId <= 3) {
        // The wizard writes 0..3; anything else is kept inside the four pages.
        const int nStep = std::clamp(nContextHelpId, 0, 3) + 1;
        return "Help/Step" + std::to_string(nStep) + "_Help.htm";
    }
    return "Help/source_textutorial.htm";
}
