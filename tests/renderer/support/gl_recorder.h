#pragma once
// A stand-in for the GL library in the logic tests: every GL call the core
// makes is recorded with its arguments, so tests can check the call order.
#include <string>
#include <vector>

namespace glrec {

struct Call {
    std::string name;
    std::vector<double> args;
};

std::vector<Call>& calls();
void clear();

// Names of the recorded calls, in order.
std::vector<std::string> names();

// How many recorded calls have this name.
int count(const std::string& name);

// The platform texture loader as the scene sees it: whether the next load
// succeeds and which texture name it hands out; loads are counted.
struct TextureLoad {
    bool succeed = false;
    unsigned name = 7;
    int calls = 0;
    std::string lastPath;
};
TextureLoad& textureLoad();

}  // namespace glrec
