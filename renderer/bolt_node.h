#pragma once
#include <cstdint>

#include "renderer/vec3d.h"

namespace fulmina {

// One point of a lightning bolt. A node owns its children; the sibling and
// parent links are non-owning. The children of a node hang from newestChild
// through older (oldest last), with newer pointing back towards newestChild.
class BoltNode {
public:
    // Makes a permanent root-like node of generation 10 with no links.
    BoltNode(const Vec3d& position, float riseMin, float riseMax, float reachMin, float reachMax,
             float widthScale, std::int32_t deathDivisor, std::int32_t growthDivisor);
    // Unlinks the node from its parent and siblings and frees its whole subtree.
    ~BoltNode();

    BoltNode(const BoltNode&) = delete;
    BoltNode& operator=(const BoltNode&) = delete;

    // Grows one child near this node: the first child continues the trunk,
    // every later one is a generation-0 side branch.
    void growChild();

    // One frame of life for this node, its descendants and its older siblings.
    // A mortal node may destroy itself here: the caller must not touch it after.
    void stepTree();

    // Emits the line segments of this node, its older siblings and its descendants.
    void drawTree() const;

    Vec3d getPosition() const { return position; }
    void setPosition(const Vec3d& value) { position = value; }

    BoltNode* getOlder() const { return older; }
    BoltNode* getNewer() const { return newer; }
    BoltNode* getNewestChild() const { return newestChild; }
    BoltNode* getParent() const { return parent; }
    bool hasGrownTrunk() const { return trunkGrown; }
    bool isPermanent() const { return permanent; }
    std::int32_t getGeneration() const { return generation; }

    void setOlder(BoltNode* node) { older = node; }
    void setNewer(BoltNode* node) { newer = node; }
    void setNewestChild(BoltNode* node) { newestChild = node; }
    void setParent(BoltNode* node) { parent = node; }
    void setPermanent(bool value) { permanent = value; }
    void setGeneration(std::int32_t value) { generation = value; }

private:
    // A random position relative to anchor; three draws: reach, angle, rise.
    Vec3d placeNear(const Vec3d& anchor) const;

    BoltNode* older = nullptr;
    BoltNode* newer = nullptr;
    BoltNode* newestChild = nullptr;
    bool trunkGrown = false;  // only its presence is ever tested
    BoltNode* parent = nullptr;
    float riseMin;
    float riseMax;
    float reachMin;
    float reachMax;
    float widthScale;
    bool permanent = true;
    std::int32_t deathDivisor;
    std::int32_t growthDivisor;
    std::int32_t generation = 10;
    Vec3d position;
};

}  // namespace fulmina
