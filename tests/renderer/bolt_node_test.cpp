#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <memory>
#include <set>
#include <sstream>

#include "renderer/bolt_node.h"
#include "renderer/crt_rand.h"
#include "tests/renderer/support/draws.h"
#include "tests/renderer/support/gl_recorder.h"

namespace {

using fulmina::BoltNode;
using fulmina::Vec3d;

std::unique_ptr<BoltNode> sceneRoot() {
    return std::make_unique<BoltNode>(Vec3d{0, 0, 0}, 0.75f, 1.25f, 0.0f, 1.0f, 5.0f, 2, 3);
}

double horizontalDistance(const Vec3d& a, const Vec3d& b) {
    return std::hypot(a.x - b.x, a.z - b.z);
}

// Walks a tree checking every link; returns the number of nodes.
int checkLinks(const BoltNode* node) {
    int nodes = 1;
    const BoltNode* newer = nullptr;
    for (const BoltNode* c = node->getNewestChild(); c != nullptr; c = c->getOlder()) {
        EXPECT_EQ(c->getParent(), node);
        EXPECT_EQ(c->getNewer(), newer);
        EXPECT_FALSE(c->isPermanent());
        nodes += checkLinks(c);
        newer = c;
    }
    return nodes;
}

std::string describe(const BoltNode* node) {
    std::ostringstream out;
    out.precision(17);
    std::function<void(const BoltNode*)> walk = [&](const BoltNode* n) {
        const Vec3d p = n->getPosition();
        out << n->getGeneration() << ' ' << p.x << ' ' << p.y << ' ' << p.z << " (";
        for (const BoltNode* c = n->getNewestChild(); c != nullptr; c = c->getOlder()) walk(c);
        out << ')';
    };
    walk(node);
    return out.str();
}

TEST(BoltNode, ConstructionMakesAnUnlinkedPermanentGenerationTenNode) {
    auto root = sceneRoot();
    EXPECT_TRUE(root->isPermanent());
    EXPECT_EQ(root->getGeneration(), 10);
    EXPECT_EQ(root->getParent(), nullptr);
    EXPECT_EQ(root->getNewestChild(), nullptr);
    EXPECT_EQ(root->getOlder(), nullptr);
    EXPECT_EQ(root->getNewer(), nullptr);
    EXPECT_FALSE(root->hasGrownTrunk());
}

TEST(BoltNode, GrowChildTakesThreeDrawsAndPlacesTheChildByReachAngleRise) {
    auto root = sceneRoot();
    fulmina::setRandState(12345);
    const std::uint32_t before = fulmina::randState();
    EXPECT_EQ(draws::counted([&] { root->growChild(); }), 3);

    // Replay: reach, then angle, then rise.
    std::uint32_t s = before;
    s = draws::advance(s);
    const int reachDraw = static_cast<int>((s >> 16) & 0x7FFF);
    s = draws::advance(s);
    const int angleDraw = static_cast<int>((s >> 16) & 0x7FFF);
    s = draws::advance(s);
    const int riseDraw = static_cast<int>((s >> 16) & 0x7FFF);
    const double reach = (reachDraw % 100) / 100.0;
    const double angle = (angleDraw % 6283) / 1000.0;
    const double rise = (riseDraw % 100) * 0.5 / 100.0 + 0.75;

    const Vec3d p = root->getNewestChild()->getPosition();
    EXPECT_NEAR(p.x, std::sin(angle) * reach, 1e-5);
    EXPECT_NEAR(p.y, rise, 1e-5);
    EXPECT_NEAR(p.z, std::cos(angle) * reach, 1e-5);
}

TEST(BoltNode, FirstChildContinuesTheTrunkAndLaterChildrenAreGenerationZeroBranches) {
    auto root = sceneRoot();
    root->growChild();
    BoltNode* trunk = root->getNewestChild();
    EXPECT_EQ(trunk->getGeneration(), 9);
    EXPECT_FALSE(trunk->isPermanent());
    EXPECT_TRUE(root->hasGrownTrunk());
    root->growChild();
    root->growChild();
    BoltNode* newest = root->getNewestChild();
    BoltNode* middle = newest->getOlder();
    EXPECT_EQ(newest->getGeneration(), 0);
    EXPECT_EQ(middle->getGeneration(), 0);
    EXPECT_EQ(middle->getOlder(), trunk);
    EXPECT_EQ(trunk->getNewer(), middle);
    EXPECT_EQ(middle->getNewer(), newest);
    EXPECT_EQ(checkLinks(root.get()), 4);

    // Below generation 0 the trunk rule goes on counting down.
    newest->growChild();
    EXPECT_EQ(newest->getNewestChild()->getGeneration(), -1);
    newest->getNewestChild()->growChild();
    EXPECT_EQ(newest->getNewestChild()->getNewestChild()->getGeneration(), -2);
}

TEST(BoltNode, DestroyingTheNewestChildMovesTheParentToTheNextOlderAndFreesTheSubtree) {
    auto root = sceneRoot();
    root->growChild();
    root->growChild();
    root->growChild();
    BoltNode* newest = root->getNewestChild();
    BoltNode* middle = newest->getOlder();
    newest->growChild();
    newest->getNewestChild()->growChild();
    middle->growChild();

    delete newest;  // its grandchildren go with it (the leak checker watches)
    EXPECT_EQ(root->getNewestChild(), middle);
    EXPECT_EQ(middle->getNewer(), nullptr);
    EXPECT_EQ(checkLinks(root.get()), 4);

    BoltNode* trunk = middle->getOlder();
    delete middle;  // a middle sibling: both neighbours are re-linked
    EXPECT_EQ(root->getNewestChild(), trunk);
    EXPECT_EQ(trunk->getNewer(), nullptr);
    EXPECT_EQ(checkLinks(root.get()), 2);

    // The trunk marker stays: the next child is a branch, not a new trunk.
    delete trunk;
    root->growChild();
    EXPECT_EQ(root->getNewestChild()->getGeneration(), 0);
}

TEST(BoltNode, ALoneRootDrawsItsCoinDeathAndGrowthButNeverMovesOrDies) {
    // A state whose next draws are: coin even, death even, growth not divisible by 3.
    const std::uint32_t s = draws::findState([](auto next) {
        return next() % 2 == 0 && next() % 2 == 0 && next() % 3 != 0;
    });
    auto root = sceneRoot();
    fulmina::setRandState(s);
    EXPECT_EQ(draws::counted([&] { root->stepTree(); }), 3 + 3);  // + placement of the new child
    const Vec3d p = root->getPosition();
    EXPECT_EQ(p.x, 0.0);
    EXPECT_EQ(p.y, 0.0);
    EXPECT_EQ(p.z, 0.0);
    ASSERT_NE(root->getNewestChild(), nullptr);
    EXPECT_EQ(root->getNewestChild()->getGeneration(), 9);
}

TEST(BoltNode, ADyingNodeWithAnOddCoinTakesTwoDrawsAndUnlinksItself) {
    auto root = sceneRoot();
    root->growChild();
    BoltNode* child = root->getNewestChild();
    child->setGeneration(0);
    const std::uint32_t s = draws::findState([](auto next) { return next() % 2 == 1 && next() % 2 == 0; });
    fulmina::setRandState(s);
    EXPECT_EQ(draws::counted([&] { child->stepTree(); }), 2);
    EXPECT_EQ(root->getNewestChild(), nullptr);
}

TEST(BoltNode, ADyingNodeWithAnEvenCoinMovesFirstAndTakesFiveDraws) {
    auto root = sceneRoot();
    root->growChild();
    root->getNewestChild()->setGeneration(0);
    const std::uint32_t s = draws::findState([](auto next) {
        const bool even = next() % 2 == 0;
        next(), next(), next();
        return even && next() % 2 == 0;
    });
    fulmina::setRandState(s);
    EXPECT_EQ(draws::counted([&] { root->getNewestChild()->stepTree(); }), 5);
    EXPECT_EQ(root->getNewestChild(), nullptr);
}

TEST(BoltNode, ASurvivingNodeMovesNearItsParentAndMayGrow) {
    auto root = sceneRoot();
    root->growChild();
    BoltNode* trunk = root->getNewestChild();  // generation 9: survives any death draw
    const std::uint32_t s = draws::findState([](auto next) {
        const bool even = next() % 2 == 0;
        next(), next(), next();
        const bool deathHit = next() % 2 == 0;
        return even && deathHit && next() % 3 == 0;  // would die if mortal; does not grow
    });
    fulmina::setRandState(s);
    EXPECT_EQ(draws::counted([&] { trunk->stepTree(); }), 6);
    EXPECT_EQ(root->getNewestChild(), trunk);
    EXPECT_EQ(trunk->getNewestChild(), nullptr);
    const Vec3d p = trunk->getPosition();
    EXPECT_GE(p.y, 0.75);
    EXPECT_LT(p.y, 1.25);
    EXPECT_LT(horizontalDistance(p, root->getPosition()), 1.0);
}

TEST(BoltNode, APermanentNodeNeverDiesWhateverItsGeneration) {
    auto root = sceneRoot();
    root->growChild();
    BoltNode* child = root->getNewestChild();
    child->setGeneration(-3);
    child->setPermanent(true);
    const std::uint32_t s = draws::findState(
        [](auto next) { return next() % 2 == 1 && next() % 2 == 0 && next() % 3 == 0; });
    fulmina::setRandState(s);
    EXPECT_EQ(draws::counted([&] { child->stepTree(); }), 3);
    EXPECT_EQ(root->getNewestChild(), child);
}

TEST(BoltNode, ChildrenAreSteppedNewestFirstBeforeTheNodeDecidesItsFate) {
    // Root with two mortal generation-0 children; the older one is stepped
    // through the newer one's sibling walk, before the root's own draws.
    auto root = sceneRoot();
    root->growChild();
    root->growChild();
    root->getNewestChild()->getOlder()->setGeneration(0);
    // Draws: root coin (odd), newest coin (odd), older coin (odd), older death (dies),
    // newest death (survives), newest growth (no), root death, root growth (no).
    const std::uint32_t s = draws::findState([](auto next) {
        return next() % 2 == 1 && next() % 2 == 1 && next() % 2 == 1 && next() % 2 == 0 &&
               next() % 2 == 1 && next() % 3 == 0 && (next(), true) && next() % 3 == 0;
    });
    BoltNode* newest = root->getNewestChild();
    fulmina::setRandState(s);
    EXPECT_EQ(draws::counted([&] { root->stepTree(); }), 8);
    EXPECT_EQ(root->getNewestChild(), newest);
    EXPECT_EQ(newest->getOlder(), nullptr);
    EXPECT_EQ(checkLinks(root.get()), 2);
}

TEST(BoltNode, AfterManyFramesTheTrunkPersistsAndEveryLinkIsConsistent) {
    fulmina::setRandState(1);
    auto root = sceneRoot();
    std::set<const BoltNode*> trunkSeen;
    for (int frame = 0; frame < 3000; ++frame) {
        root->stepTree();
        const int nodes = checkLinks(root.get());
        ASSERT_LT(nodes, 2000) << "tree grows without bound at frame " << frame;
        if (frame == 500) {
            // By now the trunk of generations 9 to 1 has grown: remember it.
            const BoltNode* n = root.get();
            for (int g = 9; g >= 1; --g) {
                const BoltNode* t = n->getNewestChild();
                while (t != nullptr && t->getGeneration() != g) t = t->getOlder();
                ASSERT_NE(t, nullptr) << "no trunk node of generation " << g;
                trunkSeen.insert(t);
                n = t;
            }
        }
    }
    // The same trunk nodes are still there, each the parent of the next.
    const BoltNode* n = root.get();
    for (int g = 9; g >= 1; --g) {
        const BoltNode* t = n->getNewestChild();
        while (t != nullptr && t->getGeneration() != g) t = t->getOlder();
        ASSERT_NE(t, nullptr);
        EXPECT_TRUE(trunkSeen.count(t)) << "trunk node of generation " << g << " was replaced";
        n = t;
    }
}

TEST(BoltNode, TwoRunsFromTheUnseededStateGrowIdenticalTrees) {
    auto run = [] {
        fulmina::setRandState(1);
        auto root = sceneRoot();
        std::string frames;
        for (int i = 0; i < 400; ++i) {
            root->stepTree();
            if (i % 50 == 0) frames += describe(root.get());
        }
        return frames;
    };
    EXPECT_EQ(run(), run());
}

TEST(BoltNode, LineWidthFollowsTheGeneration) {
    auto root = sceneRoot();
    BoltNode* n = root.get();
    for (int i = 0; i < 11; ++i) {
        n->growChild();
        n = n->getNewestChild();
    }
    // Generations along the chain: 10, 9, ..., 0, -1.
    glrec::clear();
    root->drawTree();
    std::vector<double> widths;
    for (const auto& c : glrec::calls())
        if (c.name == "glLineWidth") widths.push_back(c.args[0]);
    ASSERT_EQ(widths.size(), 12u);
    EXPECT_FLOAT_EQ(widths[0], 5.5f);   // the root
    EXPECT_FLOAT_EQ(widths[1], 5.0f);   // generation 9
    EXPECT_FLOAT_EQ(widths[5], 3.0f);   // generation 5
    EXPECT_FLOAT_EQ(widths[9], 1.0f);   // generation 1
    EXPECT_FLOAT_EQ(widths[10], 0.5f);  // generation 0
    EXPECT_FLOAT_EQ(widths[11], 0.0f);  // generation -1
}

TEST(BoltNode, DrawEmitsNegatedSegmentsOlderSiblingsBeforeChildren) {
    auto root = sceneRoot();
    root->growChild();  // trunk (older)
    root->growChild();  // branch (newest)
    BoltNode* branch = root->getNewestChild();
    BoltNode* trunk = branch->getOlder();
    branch->setPosition({1, 2, 3});
    trunk->setPosition({4, 5, 6});
    branch->growChild();
    BoltNode* leaf = branch->getNewestChild();
    leaf->setPosition({7, 8, 9});

    glrec::clear();
    root->drawTree();
    std::vector<std::vector<double>> vertices;
    for (const auto& c : glrec::calls())
        if (c.name == "glVertex3d") vertices.push_back(c.args);
    // Root draws no segment; then the branch, its older sibling the trunk, then the leaf.
    ASSERT_EQ(vertices.size(), 6u);
    EXPECT_EQ(vertices[0], (std::vector<double>{-1, -2, -3}));
    EXPECT_EQ(vertices[1], (std::vector<double>{0, 0, 0}));
    EXPECT_EQ(vertices[2], (std::vector<double>{-4, -5, -6}));
    EXPECT_EQ(vertices[4], (std::vector<double>{-7, -8, -9}));
    EXPECT_EQ(vertices[5], (std::vector<double>{-1, -2, -3}));
    EXPECT_EQ(glrec::count("glBegin"), 3);
    EXPECT_EQ(glrec::count("glEnd"), 3);
}

}  // namespace
