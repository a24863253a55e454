#include "views/SheetLayout.h"

#include <algorithm>

namespace {

struct Token {
    enum Kind { Word, Space, Tab, Break } kind = Word;
    std::vector<PlacedText> pieces; // a word may change font midway
    int font = 0;
};

void AddChar(std::vector<PlacedText>& pieces, char c, int font)
{
    if (pieces.empty() || pieces.back().font != font)
        pieces.push_back(PlacedText{0, std::string(), font});
    pieces.back().text += c;
}

std::vector<Token> Tokenize(const std::vector<TextRun>& runs)
{
    std::vector<Token> tokens;
    Token word;
    auto flush = [&] {
        if (!word.pieces.empty()) {
            word.kind = Token::Word;
            tokens.push_back(word);
            word = Token();
        }
    };
    bool afterCR = false;
    for (const TextRun& run : runs) {
        for (char c : run.text) {
            if (c == '\n' && afterCR) {
                afterCR = false;
                continue;
            }
            afterCR = c == '\r';
            if (c == ' ') {
                flush();
                if (tokens.empty() || tokens.back().kind != Token::Space || tokens.back().font != run.font) {
                    Token t;
                    t.kind = Token::Space;
                    t.font = run.font;
                    tokens.push_back(t);
                }
                AddChar(tokens.back().pieces, c, run.font);
            } else if (c == '\t' || c == '\r' || c == '\n' || c == '\v') {
                flush();
                Token t;
                t.kind = c == '\t' ? Token::Tab : Token::Break;
                t.font = run.font;
                tokens.push_back(t);
            } else {
                AddChar(word.pieces, c, run.font);
            }
        }
    }
    flush();
    return tokens;
}

class Layout {
public:
    Layout(const FontMeasure& m, int width, int height) : m_measure(m), m_width(width), m_height(height)
    {
        m_sheets.emplace_back();
    }

    // Ends the line; an empty one takes the height of emptyFont.
    void FinishLine(int emptyFont)
    {
        int h = 0, a = 0;
        for (const PlacedText& p : m_line.pieces) {
            h = std::max(h, m_measure.height(p.font));
            a = std::max(a, m_measure.ascent(p.font));
        }
        if (m_line.pieces.empty()) {
            h = m_measure.height(emptyFont);
            a = m_measure.ascent(emptyFont);
        }
        if (m_y + h > m_height && !m_sheets.back().lines.empty()) {
            m_sheets.emplace_back();
            m_y = 0;
        }
        m_line.top = m_y;
        m_line.height = h;
        m_line.ascent = a;
        m_sheets.back().lines.push_back(m_line);
        m_y += h;
        m_line = LaidLine();
        m_x = 0;
    }

    void Place(const PlacedText& p, int w)
    {
        PlacedText placed = p;
        placed.x = m_x;
        m_line.pieces.push_back(placed);
        m_x += w;
    }

    // Character by character, for a word wider than a whole line.
    void PlaceBroken(const std::vector<PlacedText>& pieces)
    {
        for (const PlacedText& p : pieces)
            for (char c : p.text) {
                const std::string s(1, c);
                const int w = m_measure.width(s, p.font);
                if (m_x + w > m_width && m_x > 0) {
                    FinishLine(p.font);
                    m_wrapped = true;
                }
                LaidLine& line = m_line;
                if (!line.pieces.empty() && line.pieces.back().font == p.font && m_joinable) {
                    line.pieces.back().text += c;
                    m_x += w;
                } else {
                    Place(PlacedText{0, s, p.font}, w);
                }
                m_joinable = true;
            }
        m_joinable = false;
    }

    void Word(const std::vector<PlacedText>& pieces)
    {
        int w = 0;
        for (const PlacedText& p : pieces)
            w += m_measure.width(p.text, p.font);
        if (m_x + w > m_width && m_x > 0) {
            FinishLine(pieces.front().font);
            m_wrapped = true;
        }
        if (w > m_width) {
            PlaceBroken(pieces);
            return;
        }
        for (const PlacedText& p : pieces)
            Place(p, m_measure.width(p.text, p.font));
    }

    void Space(const std::vector<PlacedText>& pieces)
    {
        // Spaces where a line was wrapped are not carried to the next line.
        if (m_wrapped && m_line.pieces.empty())
            return;
        for (const PlacedText& p : pieces)
            Place(p, m_measure.width(p.text, p.font));
    }

    void Tab(int font, int tabWidth)
    {
        auto stop = [&] { return tabWidth > 0 ? (m_x / tabWidth + 1) * tabWidth : m_x + m_measure.width(" ", font); };
        int to = stop();
        if (to > m_width && m_x > 0) {
            FinishLine(font);
            m_wrapped = true;
            to = stop();
        }
        m_x = to;
    }

    void Break(int font)
    {
        FinishLine(font);
        m_wrapped = false;
    }

    std::vector<LaidSheet> Finish(bool pending, int font)
    {
        if (pending)
            FinishLine(font);
        return m_sheets;
    }

    bool LineEmpty() const { return m_line.pieces.empty() && m_x == 0; }

private:
    const FontMeasure& m_measure;
    int m_width, m_height;
    std::vector<LaidSheet> m_sheets;
    LaidLine m_line;
    int m_x = 0, m_y = 0;
    bool m_wrapped = false;
    bool m_joinable = false;
};

} // namespace

std::vector<LaidSheet> LayoutSheets(const std::vector<TextRun>& runs, const FontMeasure& measure, int width,
                                    int height, int tabWidth)
{
    Layout layout(measure, width, height);
    int lastFont = runs.empty() ? 0 : runs.back().font;
    for (const Token& t : Tokenize(runs)) {
        switch (t.kind) {
        case Token::Word:
            layout.Word(t.pieces);
            break;
        case Token::Space:
            layout.Space(t.pieces);
            break;
        case Token::Tab:
            layout.Tab(t.font, tabWidth);
            break;
        case Token::Break:
            layout.Break(t.font);
            break;
        }
    }
    return layout.Finish(!layout.LineEmpty(), lastFont);
}
