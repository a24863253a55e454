#pragma once
// Formatted text laid out on printed sheets: runs of text, each in one font,
// broken into lines at spaces (a word wider than a line is broken where it
// must), tabs advancing to the next stop, paragraph marks starting new
// lines, and lines filling sheets top to bottom. Portable: the caller
// measures text in its fonts and draws what comes out.
#include <functional>
#include <string>
#include <vector>

struct TextRun {
    std::string text;
    int font = 0; // the caller's index
};

struct FontMeasure {
    // Width of a text in a font, and the font's line height and ascent.
    std::function<int(const std::string&, int font)> width;
    std::function<int(int font)> height;
    std::function<int(int font)> ascent;
};

struct PlacedText {
    int x = 0; // from the left of the text area
    std::string text;
    int font = 0;
};

struct LaidLine {
    int top = 0; // from the top of its sheet's text area
    int height = 0;
    int ascent = 0; // the baseline lies ascent below top
    std::vector<PlacedText> pieces;
};

struct LaidSheet {
    std::vector<LaidLine> lines;
};

// At least one sheet, even for no text. Sizes are the caller's units;
// tabWidth <= 0 means tabs are one space wide.
std::vector<LaidSheet> LayoutSheets(const std::vector<TextRun>& runs, const FontMeasure& measure, int width,
                                    int height, int tabWidth);
