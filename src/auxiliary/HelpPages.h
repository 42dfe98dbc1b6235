#pragma once

// The help screens without their widgets: which pictures the paged help
// prepares around a page, the picture file of a page, and which HTML page
// the context help shows.

#include <string>
#include <vector>

// The paged help has eleven pictures, "Help/Help1.png" .. "Help/Help11.png".
inline constexpr int HELP_PAGE_COUNT = 11;

// The pages to prepare when page nPage (0-based) is shown: the page and its
// neighbours that exist; nothing for a page that does not exist.
std::vector<int> helpPagesToPrepare(int nPage);

// "Help/Help<nPage + 1>.png".
std::string helpPageImageName(int nPage);

// The context help pages: the help of each wizard step and the TeX tutorial.
inline constexpr int CONTEXT_HELP_TUTORIAL = 4;
// The page of content number nContentId: 0..3 show the help of the wizard
// step nContextHelpId ("Help/Step<nContextHelpId + 1>_Help.htm"), larger
// numbers the tutorial ("Help/source_textutorial.htm").
std::string contextHelpPageName(int nContentId, int nContextHelpId);
