#include "game/game.h"

#include <algorithm>
#include <cstring>
#include <ostream>

const char* const ROSTER_TAGS[7] = {"Event", "Site", "Date", "Round", "White", "Black", "Result"};

CGame::CGame() {
    m_tags.reserve(16);
    for (const char* name : ROSTER_TAGS)
        m_tags.push_back(CTagPair{CText(name), CText(std::strcmp(name, "Result") == 0 ? "*" : "")});
}

CGame::~CGame() = default;

void CGame::setOptions(int32_t width, bool tags, bool variations, bool comments, bool nagNumbers,
                       bool nagSymbols) {
    lineWidth = width;
    writeTags = tags;
    writeVariations = variations;
    writeComments = comments;
    writeNagNumbers = nagNumbers;
    writeNagSymbols = nagSymbols;
}

void CGame::getOptions(int32_t& width, bool& tags, bool& variations, bool& comments,
                       bool& nagNumbers, bool& nagSymbols) const {
    width = lineWidth;
    tags = writeTags;
    variations = writeVariations;
    comments = writeComments;
    nagNumbers = writeNagNumbers;
    nagSymbols = writeNagSymbols;
}

void CGame::forEachNode(CNodeVisitor& visitor) {
    if (m_root) m_root->forEachNode(visitor);
}

CText CGame::toString() {
    return CText();
}

void CGame::writeTo(std::ostream& stream) {
    const CText text = toString();
    stream.write(text.data(), text.length());
}

CText CGame::tag(const char* name) const {
    for (const CTagPair& pair : m_tags)
        if (pair.name == name) return pair.value;
    return CText();
}

void CGame::setTag(const char* name, const CText& value) {
    for (CTagPair& pair : m_tags) {
        if (pair.name == name) {
            pair.value = value;
            return;
        }
    }
    m_tags.push_back(CTagPair{CText(name), value});
}

void CGame::insertTagBefore(const char* name, const CText& value, const char* before) {
    for (const CTagPair& pair : m_tags)
        if (pair.name == name) return;
    auto place = std::find_if(m_tags.begin(), m_tags.end(),
                              [before](const CTagPair& pair) { return pair.name == before; });
    m_tags.insert(place, CTagPair{CText(name), value});
}

std::vector<CText> CGame::otherTagNames(const std::vector<CText>& known) const {
    std::vector<CText> names;
    for (const CTagPair& pair : m_tags) {
        bool isKnown = false;
        for (const CText& name : known)
            isKnown = isKnown || name == pair.name;
        if (!isKnown) names.push_back(pair.name);
    }
    return names;
}

void CGame::setRoot(CMoveNode* node) {
    if (node != m_root.get()) m_root.reset(node);
}

CMoveNode* CGame::mainLineEnd() const {
    CMoveNode* node = m_root.get();
    if (!node) return nullptr;
    while (node->hasChildren())
        node = node->child(0);
    return node;
}

CMoveNode* CGame::nodeAtTextPosition(uint32_t position) const {
    if (!m_root) return nullptr;
    for (CMoveNode* child : m_root->children)
        if (CMoveNode* found = child->findByTextPosition(position)) return found;
    return nullptr;
}
