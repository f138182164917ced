#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "game/move_node.h"

namespace {

CMoveNode* makeNode(const char* text, int ply = 0) {
    return new CMoveNode(CMove(0, 4, uint8_t(ply), 7), CText(text), int16_t(ply), CText(""), 0, 0);
}

struct CountingVisitor : CNodeVisitor {
    std::vector<std::string> seen;
    void visit(CMoveNode& node) override { seen.emplace_back(node.moveText.c_str()); }
};

std::vector<std::string> childTexts(const CMoveNode& node) {
    std::vector<std::string> texts;
    for (const CMoveNode* child : node.children)
        texts.emplace_back(child->moveText.c_str());
    return texts;
}

// A root with children a, b, c.
std::unique_ptr<CMoveNode> rootWithThree() {
    auto root = std::unique_ptr<CMoveNode>(makeNode("root", -1));
    for (const char* text : {"a", "b", "c"})
        root->addChild(makeNode(text));
    return root;
}

} // namespace

TEST(MoveNode, ConstructionReservesChildrenAndClearsRanges) {
    CMoveNode node(NO_MOVE, CText("root"), -1, CText("rootnode"), 0, 0);
    EXPECT_EQ(node.children.capacity(), 16u);
    EXPECT_EQ(node.parent, nullptr);
    EXPECT_EQ(node.textStart, 0u);
    EXPECT_EQ(node.textEnd, 0u);
    EXPECT_EQ(node.subtreeSize(), 1u);
}

TEST(MoveNode, PromoteChildKeepsTheOrderOfTheOthers) {
    struct Case {
        const char* promoted; // "x" names a node that is not a child
        std::vector<std::string> order;
    };
    const Case cases[] = {
        {"c", {"c", "a", "b"}},
        {"b", {"b", "a", "c"}},
        {"a", {"a", "b", "c"}},
        {"x", {"a", "b", "c"}},
    };
    for (const Case& test : cases) {
        auto root = rootWithThree();
        CMoveNode stranger(NO_MOVE, CText("x"), 0, CText(""), 0, 0);
        CMoveNode* promoted = &stranger;
        for (CMoveNode* child : root->children)
            if (child->moveText == test.promoted) promoted = child;
        root->promoteChild(promoted);
        EXPECT_EQ(childTexts(*root), test.order) << test.promoted;
    }
}

// The leak checker of the sanitizer build sees any node of the subtree left behind.
TEST(MoveNode, DeleteChildClosesTheGapAndDestroysTheSubtree) {
    auto root = rootWithThree();
    CMoveNode* b = root->child(1);
    b->addChild(makeNode("b1"));
    b->child(0)->addChild(makeNode("b2"));
    b->addChild(makeNode("bv"));
    EXPECT_EQ(root->subtreeSize(), 7u);
    root->deleteChild(b);
    EXPECT_EQ(childTexts(*root), (std::vector<std::string>{"a", "c"}));
    EXPECT_EQ(root->subtreeSize(), 3u);
}

TEST(MoveNode, SubtreeSizeCountsEveryNode) {
    // Main line of four moves, a two-move variation at the first move.
    auto root = std::unique_ptr<CMoveNode>(makeNode("root", -1));
    CMoveNode* node = root.get();
    for (const char* text : {"e4", "e5", "Nf3", "Nc6"}) {
        node->addChild(makeNode(text));
        node = node->child(0);
    }
    CMoveNode* d4 = makeNode("d4");
    root->addChild(d4);
    d4->addChild(makeNode("d5"));
    EXPECT_EQ(root->subtreeSize(), 7u);
    EXPECT_EQ(d4->child(0)->subtreeSize(), 1u);
}

TEST(MoveNode, GlyphTexts) {
    struct Case {
        uint8_t nag;
        const char* number;
        const char* symbol;
    };
    const Case cases[] = {
        {0, "", ""},     {1, "$1", "!"},  {2, "$2", "?"}, {3, "$3", "!!"}, {4, "$4", "??"},
        {5, "$5", "!?"}, {6, "$6", "?!"}, {7, "$7", ""},  {14, "$14", ""}, {255, "$255", ""},
    };
    for (const Case& test : cases) {
        CMoveNode node(NO_MOVE, CText("e4"), 0, CText(""), test.nag, 0);
        EXPECT_EQ(std::string(node.nagNumberText().c_str()), test.number) << int(test.nag);
        EXPECT_EQ(std::string(node.nagSymbolText().c_str()), test.symbol) << int(test.nag);
    }
}

TEST(MoveNode, FindByTextPositionWalksInPreOrder) {
    auto root = rootWithThree();
    root->textStart = root->textEnd = 0;
    CMoveNode* a = root->child(0);
    CMoveNode* b = root->child(1);
    CMoveNode* c = root->child(2);
    a->addChild(makeNode("a1"));
    CMoveNode* a1 = a->child(0);
    a->textStart = 1, a->textEnd = 4;
    a1->textStart = 4, a1->textEnd = 8; // touches a at 4: a comes first in pre-order
    b->textStart = 8, b->textEnd = 12;
    c->textStart = 20, c->textEnd = 25;
    root->textStart = 100, root->textEnd = 100;

    struct Case {
        uint32_t position;
        CMoveNode* found;
    };
    const Case cases[] = {{1, a},  {4, a},        {5, a1}, {8, a1},       {9, b},
                          {12, b}, {13, nullptr}, {25, c}, {26, nullptr}, {100, root.get()}};
    for (const Case& test : cases)
        EXPECT_EQ(root->findByTextPosition(test.position), test.found) << test.position;

    root->clearTextRanges();
    // Every node now holds the range 0-0, so position 0 finds the first one: the root.
    EXPECT_EQ(root->findByTextPosition(0), root.get());
    EXPECT_EQ(c->textEnd, 0u);
    EXPECT_EQ(a->findByTextPosition(0), a);
}

TEST(MoveNode, ForEachNodeVisitsNodesBeforeTheirDescendants) {
    auto root = rootWithThree();
    root->child(0)->addChild(makeNode("a1"));
    root->child(0)->child(0)->addChild(makeNode("a2"));
    root->child(0)->addChild(makeNode("av"));
    root->child(2)->addChild(makeNode("c1"));
    CountingVisitor visitor;
    root->forEachNode(visitor);
    EXPECT_EQ(visitor.seen,
              (std::vector<std::string>{"root", "a", "a1", "a2", "av", "b", "c", "c1"}));
    CountingVisitor subtree;
    root->child(0)->forEachNode(subtree);
    EXPECT_EQ(subtree.seen, (std::vector<std::string>{"a", "a1", "a2", "av"}));
}

TEST(MoveNode, PlyGivesMoveNumberAndSide) {
    struct Case {
        int ply;
        int number;
        bool white;
    };
    const Case cases[] = {
        {0, 1, true}, {1, 1, false}, {2, 2, true}, {22, 12, true}, {23, 12, false}};
    for (const Case& test : cases) {
        CMoveNode node(NO_MOVE, CText("m"), int16_t(test.ply), CText(""), 0, 0);
        EXPECT_EQ(node.moveNumber(), test.number) << test.ply;
        EXPECT_EQ(node.isWhiteMove(), test.white) << test.ply;
    }
}

TEST(MoveNode, LongLinesAndDeepNestingCostNoStack) {
    // A main line of 200 000 moves and a chain of 200 000 nested variations:
    // walking and destroying them must not recurse per move.
    constexpr int LENGTH = 200000;
    auto root = std::unique_ptr<CMoveNode>(makeNode("root", -1));
    CMoveNode* node = root.get();
    for (int i = 0; i < LENGTH; ++i) {
        node->addChild(makeNode("m"));
        node = node->child(0);
    }
    CMoveNode* branch = root->child(0);
    for (int i = 0; i < LENGTH; ++i) {
        CMoveNode* variation = makeNode("v");
        branch->addChild(variation);
        branch = variation;
    }
    EXPECT_EQ(root->subtreeSize(), uint32_t(2 * LENGTH + 1));
    root->clearTextRanges();
    EXPECT_EQ(root->findByTextPosition(1), nullptr);
    root.reset();
}
