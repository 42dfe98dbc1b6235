#pragma once

// The texts that name a parameter on a chart: its symbol and unit, written in
// TeX in the books, read by the TeX parser and turned into rich text for the
// chart's axis titles and the hover readout (italic letters, <sub>/<sup>
// scripts, Greek letters as characters, ^o as a degree sign), or into plain
// text for a list of choices.

#include <QString>
#include <string>

#include "storage/FormulaRecords.h"

// A TeX text as rich text; plain text when bHtml is false (scripts inline).
QString TexTitleText(const std::string& strTex, bool bHtml = true);

// The unit as the chart writes it: "" for none or the dimensionless "1",
// "°" for degrees.
QString UnitTitleText(const std::string& strUnit, bool bHtml = true);

// An axis title: "Launch angle above the horizontal θ (°)", rich text.
QString AxisTitleHtml(const std::string& strDescription, const std::string& strSymbol, const std::string& strUnit);
QString AxisTitleHtml(const _tag_formula_parameter& param);

// A choice of parameter in a list: "θ  Launch angle above the horizontal".
QString ParameterChoiceText(const _tag_formula_parameter& param);
