#pragma once

#include <string>
#include <vector>

// One number a host and a plug-in must agree on: a constant's value, a struct's
// size or a field's offset. Names are spelt the same way in every table:
// "effOpen", "sizeof(AEffect)", "offsetof(AEffect.numParams)".
struct AbiFact
{
    std::string name;
    long long value = 0;
    bool known = true;      // false: the header only holds a placeholder for it
};

// The two header sets declare the same names, so each is read in a translation
// unit of its own and only these tables meet.
const std::vector<AbiFact>& getFstAbiFacts();
const std::vector<AbiFact>& getOwnAbiFacts();
