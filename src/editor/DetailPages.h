#pragma once

// What the formula detail pages show, without their widgets: the TeX of the
// first page (the framed formula and its parameter list), the description
// text under it, what each entry of the image list becomes, and which page a
// horizontal scroll position shows. DetailView lays these out.

#include <string>

#include "storage/FormulaRecords.h"

// The first page: the formula in a frame, then one line " + symbol : description"
// for each parameter that has a description, all inside one \text block.
std::string ComposeFormulaPageTex(const _tag_formula_des& des, const _tag_formula_detail& det);

// The description under the formula; "" when the formula has none.
std::string ComposeDescriptionText(const _tag_formula_des& des);

// What one entry of a formula's image list becomes.
enum DETAIL_IMAGE_KIND {
    DETAIL_IMAGE_PICTURE = 0,  // a picture file shown on its own page
    DETAIL_IMAGE_TEX,          // a TeX expression rendered on its own page
    DETAIL_IMAGE_SKIPPED,      // a picture name without its extension: the page stays empty
};
DETAIL_IMAGE_KIND ClassifyDetailImage(const std::string& strEntry, const std::string& strBook);

// The file of a picture entry: the user's pictures live in the documents
// folder, the shipped books' pictures in the resource folder.
std::string DetailPicturePath(const std::string& strEntry, const std::string& strBook,
                              const std::string& strDocumentsFolder, const std::string& strAppPath);
