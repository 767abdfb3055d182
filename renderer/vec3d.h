#pragma once

namespace fulmina {

// A point of the bolt tree. Left unset by default construction.
struct Vec3d {
    double x, y, z;
};

}  // namespace fulmina
