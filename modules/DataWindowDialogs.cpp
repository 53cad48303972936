// SPDX-License-Identifier: GPL-3.0-or-later
#include "modules/DataWindowDialogs.h"

#include <algorithm>
#include <numeric>

#include "modules/ModuleSet.h"
#include "modules/NameCompare.h"

namespace qv {
namespace {

template <typename NameOf>
std::vector<int> SortedRange(int first, int end, NameOf nameOf)
{
    std::vector<int> order(static_cast<size_t>(std::max(end - first, 0)));
    std::iota(order.begin(), order.end(), first);
    std::stable_sort(order.begin(), order.end(),
                     [&](int a, int b) { return CompareNames(nameOf(a), nameOf(b)) < 0; });
    return order;
}

}  // namespace

std::vector<int> DataWindowOptionsDialog::SortedModules() const
{
    if (!modules) return {};
    return SortedRange(0, static_cast<int>(modules->modules.size()),
                       [this](int i) { return modules->ModuleName(i); });
}

std::vector<int> DataWindowOptionsDialog::SortedEntryPoints(int moduleIndex) const
{
    if (!modules) return {};
    auto [first, end] = modules->EntryPointRange(moduleIndex);
    return SortedRange(first, end, [this](int i) { return modules->EntryPointName(i); });
}

std::string DataWindowOptionsDialog::ModuleName(int module) const
{
    return modules ? std::string(modules->ModuleName(module)) : std::string();
}

std::string DataWindowOptionsDialog::EntryPointName(int entryPoint) const
{
    return modules ? std::string(modules->EntryPointName(entryPoint)) : std::string();
}

}  // namespace qv
