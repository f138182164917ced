#include <cstdio>
#include <ostream>
#include <string>
#include <vector>

#include "pgn/pgn_game.h"

const char NEW_GAME_ROOT_COMMENT[] = "rootnode";

bool isNewGameRootComment(const CText& comment) {
    const char* text = comment.c_str();
    const char* digits = text;
    while (*digits >= '0' && *digits <= '9')
        ++digits;
    if (digits != text && *digits == ',') text = digits + 1;
    return std::string(text) == NEW_GAME_ROOT_COMMENT;
}

namespace {

// The results a reader recognises as the end of the move text.
bool isResultToken(const CText& text) {
    return text == "1-0" || text == "0-1" || text == "1/2-1/2" || text == "*";
}

bool isLineBreak(char c) {
    return c == '\r' || c == '\n';
}

class CPgnWriter {
public:
    explicit CPgnWriter(CGame& game) : m_game(game) {}

    CText render() {
        if (m_game.root()) m_game.root()->clearTextRanges();
        if (m_game.writeTags) {
            writeTagSection();
            m_out += "\r\n";
        }
        writeMoveText();
        writeResult();
        m_out += "\r\n";
        return CText(m_out.c_str());
    }

private:
    void writeTagSection() {
        for (const char* name : ROSTER_TAGS)
            writeTagLine(CText(name), m_game.tag(name));
        for (const CTagPair& pair : m_game.tags()) {
            bool inRoster = false;
            for (const char* name : ROSTER_TAGS)
                inRoster = inRoster || pair.name == name;
            if (inRoster) continue;
            // A FEN tag means nothing to other programs without SetUp beside it.
            if (pair.name == "FEN" && !pair.value.isEmpty() && !hasTag("SetUp"))
                writeTagLine(CText("SetUp"), CText("1"));
            writeTagLine(pair.name, pair.value);
        }
    }

    bool hasTag(const char* name) const {
        for (const CTagPair& pair : m_game.tags())
            if (pair.name == name) return true;
        return false;
    }

    void writeTagLine(const CText& name, const CText& value) {
        m_out += '[';
        m_out += name.c_str();
        m_out += " \"";
        for (uint32_t i = 0; i < value.length(); ++i) {
            if (value[i] == '"' || value[i] == '\\') m_out += '\\';
            m_out += value[i];
        }
        m_out += "\"]\r\n";
    }

    // Appends a piece cut into words: a word is its first character (a line
    // break counting as a blank) and everything up to the next blank or line
    // break. A word that does not fit goes to the next line whole; a word
    // longer than a line stands on a line of its own. Lines break at blanks
    // alone, so a comment (a URL, an arrow list, a sentence in any script)
    // reads back as it was written. No line starts with a blank.
    void wrap(const char* piece, size_t length) {
        const int64_t width = m_game.lineWidth;
        size_t first = 0;
        while (first < length) {
            size_t last = first + 1;
            while (last < length && piece[last] != ' ' && !isLineBreak(piece[last]))
                ++last;
            const int64_t wordLength = int64_t(last - first);
            if (m_game.column > 0 && m_game.column + wordLength > width) newLine();
            for (size_t i = first; i < last; ++i) {
                const char c = isLineBreak(piece[i]) ? ' ' : piece[i];
                if (m_game.column <= 0 && c == ' ') continue;
                m_out += c;
                ++m_game.column;
            }
            first = last;
        }
    }
    void wrap(const char* piece) { wrap(piece, std::char_traits<char>::length(piece)); }
    void wrap(const CText& piece) { wrap(piece.c_str(), piece.length()); }

    void newLine() {
        m_out += "\r\n";
        m_game.column = 0;
    }

    // The braces stick to the comment's first and last words, so no line ends
    // with an opening brace or starts with a closing one.
    void writeComment(const CText& comment) {
        CText piece(" {");
        piece += comment;
        piece += '}';
        wrap(piece);
    }

    void writeMoveText() {
        m_game.column = 0;
        m_game.forceMoveNumber = true;
        m_game.noSpaceBeforeNumber = false;
        CMoveNode* root = m_game.root();
        if (!root) return;
        // Annotated games and study exports open with a comment before the
        // first move; it lives on the root and would be lost otherwise.
        if (m_game.writeComments && !root->comment.isEmpty() &&
            !isNewGameRootComment(root->comment))
            writeComment(root->comment);
        writeLineAfter(root);
    }

    // The line that follows start: along child 0, each variation printed right
    // after the move it replaces. Nested variations are kept on a heap stack,
    // so their depth costs no stack.
    void writeLineAfter(CMoveNode* start) {
        struct Frame {
            CMoveNode* node;    // the node whose children are being written
            uint32_t nextChild; // 0: the main continuation is still to come
            bool closesVariation;
        };
        std::vector<Frame> frames{{start, 0, false}};
        while (!frames.empty()) {
            Frame& frame = frames.back();
            if (frame.nextChild == 0) {
                if (!frame.node->hasChildren()) {
                    const bool closes = frame.closesVariation;
                    frames.pop_back();
                    if (closes) {
                        wrap(")");
                        m_game.forceMoveNumber = true;
                    }
                    continue;
                }
                writeMove(*frame.node->child(0));
                frame.nextChild = 1;
            }
            if (m_game.writeVariations && frame.nextChild < frame.node->childCount()) {
                CMoveNode* variation = frame.node->child(frame.nextChild++);
                wrap(" (");
                m_game.forceMoveNumber = true;
                m_game.noSpaceBeforeNumber = true;
                writeMove(*variation);
                frames.push_back(Frame{variation, 0, true});
                continue;
            }
            frame.node = frame.node->child(0);
            frame.nextChild = 0;
        }
    }

    void writeMove(CMoveNode& node) {
        const size_t begin = m_out.size();
        const bool blackMove = node.ply % 2 != 0;
        if (!blackMove || m_game.forceMoveNumber) {
            m_game.forceMoveNumber = false;
            char number[16] = "";
            const int moveNumber = (node.ply + 2) / 2;
            if (moveNumber != 0) std::snprintf(number, sizeof number, "%d", moveNumber);
            std::string text = m_game.noSpaceBeforeNumber ? "" : " ";
            text += number;
            text += blackMove ? ".." : ".";
            wrap(text.c_str(), text.size());
        }
        CText text(" ");
        text += node.moveText;
        if (m_game.writeNagSymbols) text += node.nagSymbolText();
        wrap(text);
        if (m_game.writeNagNumbers) {
            for (uint8_t nag : node.glyphs()) {
                char glyph[8];
                std::snprintf(glyph, sizeof glyph, " $%u", unsigned(nag));
                wrap(glyph);
            }
        }
        if (m_game.writeComments && !node.comment.isEmpty()) writeComment(node.comment);
        // The range starts one past the text's first character, at the first
        // visible character of a move written after a blank.
        node.textStart = uint32_t(begin + 1);
        node.textEnd = uint32_t(m_out.size() + 1);
        m_game.noSpaceBeforeNumber = false;
    }

    void writeResult() {
        CText result = m_game.tag("Result");
        // A result the reader does not know would end a saved game's move text
        // with a word that cannot be read back; the tag keeps the value anyway.
        if (result.isEmpty() || !isResultToken(result)) result = "*";
        wrap(" ");
        wrap(result);
        m_out += "\r\n";
    }

    CGame& m_game;
    std::string m_out;
};

} // namespace

CText CPgnGame::toString() {
    return CPgnWriter(*this).render();
}

void CPgnGame::writeTo(std::ostream& stream) {
    const CText text = toString();
    stream.write(text.data(), text.length());
}
