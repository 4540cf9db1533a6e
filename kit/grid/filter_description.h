// The filter as one line of text, as the filter panel and the list of recent filters show it:
// conditions read "<caption> <operator> <value>", joined by "and" or "or"; a negated group reads
// "not (...)"; a range reads "<low> and <high>" and a list "(<v1>, <v2>)"; an empty value is the
// word "blank". A like pattern of a simple shape is described by that shape ("ABC%" begins with
// "ABC", "%ABC" ends with it, "%ABC%" contains it). Every word goes through the grid's
// translation context.
#pragma once

#include "kit/grid/filter_criteria.h"

#include <QString>

#include <vector>

namespace kit {

// Empty for a filter that holds no condition.
QString describeFilter(const FilterNode &root, const std::vector<FilterColumn> &columns);

}  // namespace kit
