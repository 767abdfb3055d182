#include "renderer/bolt_node.h"

#include <cmath>

#include "renderer/crt_rand.h"
#include "renderer/gl_api.h"

namespace fulmina {

BoltNode::BoltNode(const Vec3d& position, float riseMin, float riseMax, float reachMin,
                   float reachMax, float widthScale, std::int32_t deathDivisor,
                   std::int32_t growthDivisor)
    : riseMin(riseMin),
      riseMax(riseMax),
      reachMin(reachMin),
      reachMax(reachMax),
      widthScale(widthScale),
      deathDivisor(deathDivisor),
      growthDivisor(growthDivisor),
      position(position) {}

BoltNode::~BoltNode() {
    if (parent != nullptr && parent->newestChild == this) parent->newestChild = older;
    if (newer != nullptr) newer->older = older;
    if (older != nullptr) older->newer = newer;
    // Each child's own unlinking moves newestChild on to the next older child.
    while (newestChild != nullptr) delete newestChild;
}

Vec3d BoltNode::placeNear(const Vec3d& anchor) const {
    // Three separate statements: the order of the draws is part of the animation.
    const float reach = static_cast<float>(fulmina::rand() % 100) * (reachMax - reachMin) / 100.0f + reachMin;
    const float angle = static_cast<float>(fulmina::rand() % 6283) / 1000.0f;
    const float rise = static_cast<float>(fulmina::rand() % 100) * (riseMax - riseMin) / 100.0f + riseMin;
    return Vec3d{anchor.x + std::sin(static_cast<double>(angle)) * reach, anchor.y + rise,
                 anchor.z + std::cos(static_cast<double>(angle)) * reach};
}

void BoltNode::growChild() {
    auto* child = new BoltNode(position, riseMin, riseMax, reachMin, reachMax, widthScale,
                               deathDivisor, growthDivisor);
    child->permanent = false;
    if (newestChild != nullptr) {
        newestChild->newer = child;
        child->older = newestChild;
    }
    if (!trunkGrown) {
        child->generation = generation - 1;
        trunkGrown = true;
    } else {
        child->generation = 0;
    }
    child->parent = this;
    newestChild = child;
    child->position = child->placeNear(position);
}

void BoltNode::stepTree() {
    const int coin = fulmina::rand();
    if (coin % 2 == 0 && parent != nullptr) position = placeNear(parent->position);
    if (newestChild != nullptr) newestChild->stepTree();
    if (older != nullptr) older->stepTree();
    const int death = fulmina::rand();
    if (death % deathDivisor == 0 && !permanent && generation < 1) {
        delete this;  // the trunk above generation 1 and the root never get here
        return;
    }
    if (fulmina::rand() % growthDivisor != 0) growChild();
}

void BoltNode::drawTree() const {
    glLineWidth(static_cast<float>(generation) / 10.0f * widthScale + 0.5f);
    if (parent != nullptr) {
        glBegin(GL_LINES);
        glVertex3d(-position.x, -position.y, -position.z);
        glVertex3d(-parent->position.x, -parent->position.y, -parent->position.z);
        glEnd();
    }
    if (older != nullptr) older->drawTree();
    if (newestChild != nullptr) newestChild->drawTree();
}

}  // namespace fulmina
