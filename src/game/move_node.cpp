#include "game/move_node.h"

#include <cassert>
#include <cstdio>

namespace {

constexpr const char* NAG_SYMBOLS[] = {"", "!", "?", "!!", "??", "!?", "?!"};

// Index of child among the children of parent, or the child count when absent.
uint32_t indexOf(const CMoveNode& parent, const CMoveNode* child) {
    uint32_t index = 0;
    while (index < parent.childCount() && parent.children[index] != child)
        ++index;
    return index;
}

} // namespace

CMoveNode::CMoveNode(CMove move, const CText& moveText, int16_t ply, const CText& comment,
                     uint8_t nag, int64_t thinkTime)
    : move(move), moveText(moveText), ply(ply), comment(comment), nag(nag), thinkTime(thinkTime),
      parent(nullptr), textStart(0), textEnd(0) {
    children.reserve(CArray<CMoveNode*>::MIN_RESERVE);
}

CMoveNode::~CMoveNode() {
    // The nodes still to be destroyed are threaded through their parent
    // pointers: a stack that needs neither recursion nor memory, so a main
    // line of any length is destroyed in constant stack space.
    CMoveNode* pending = nullptr;
    auto takeChildren = [&pending](CMoveNode& node) {
        for (CMoveNode* child : node.children) {
            child->parent = pending;
            pending = child;
        }
        node.children.clear();
    };
    takeChildren(*this);
    while (pending) {
        CMoveNode* node = pending;
        pending = node->parent;
        takeChildren(*node);
        delete node;
    }
}

bool CMoveNode::addChild(CMoveNode* child) {
    assert(child && !child->parent);
    const uint32_t before = children.count();
    children.push(child);
    if (children.count() == before) return false;
    child->parent = this;
    return true;
}

void CMoveNode::promoteChild(CMoveNode* child) {
    const uint32_t index = indexOf(*this, child);
    if (index >= childCount()) return;
    for (uint32_t i = index; i > 0; --i)
        children[i] = children[i - 1];
    children[0] = child;
}

void CMoveNode::deleteChild(CMoveNode* child) {
    const uint32_t index = indexOf(*this, child);
    assert(index < childCount());
    if (index >= childCount()) return;
    children.erase(index, index + 1);
    delete child;
}

uint32_t CMoveNode::subtreeSize() const {
    uint32_t size = 0;
    for (const CMoveNode* node = this; node; node = nextInPreOrder(node, this))
        ++size;
    return size;
}

CText CMoveNode::nagNumberText() const {
    if (nag == 0) return CText();
    char buffer[8];
    std::snprintf(buffer, sizeof buffer, "$%u", unsigned(nag));
    return CText(buffer);
}

std::vector<uint8_t> CMoveNode::glyphs() const {
    if (!nags.empty() && nags.back() == nag) return nags;
    if (nag == 0) return {};
    return {nag};
}

CText CMoveNode::nagSymbolText() const {
    if (nag >= 1 && nag <= 6) return CText(NAG_SYMBOLS[nag]);
    return CText();
}

void CMoveNode::clearTextRanges() {
    for (CMoveNode* node = this; node; node = nextInPreOrder(node, this))
        node->textStart = node->textEnd = 0;
}

CMoveNode* CMoveNode::findByTextPosition(uint32_t position) {
    for (CMoveNode* node = this; node; node = nextInPreOrder(node, this))
        if (node->textStart <= position && position <= node->textEnd) return node;
    return nullptr;
}

void CMoveNode::forEachNode(CNodeVisitor& visitor) {
    for (CMoveNode* node = this; node; node = nextInPreOrder(node, this))
        visitor.visit(*node);
}

CMoveNode* nextInPreOrder(CMoveNode* node, const CMoveNode* top) {
    if (node->hasChildren()) return node->children[0];
    while (node != top && node->parent) {
        CMoveNode* parent = node->parent;
        const uint32_t index = indexOf(*parent, node);
        if (index + 1 < parent->childCount()) return parent->children[index + 1];
        node = parent;
    }
    return nullptr;
}

const CMoveNode* nextInPreOrder(const CMoveNode* node, const CMoveNode* top) {
    return nextInPreOrder(const_cast<CMoveNode*>(node), top);
}
