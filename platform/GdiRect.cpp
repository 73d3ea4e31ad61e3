// Rectangle arithmetic. Rectangles exclude their right and bottom edges; one with no area is
// empty, and an empty intersection is reported as {0, 0, 0, 0}.

#include <algorithm>

#include "platform/Platform.h"

BOOL IntersectRect(RECT* result, const RECT* a, const RECT* b)
{
    if (!result || !a || !b)
        return FALSE;
    RECT common = {std::max(a->left, b->left), std::max(a->top, b->top),
                   std::min(a->right, b->right), std::min(a->bottom, b->bottom)};
    if (common.left >= common.right || common.top >= common.bottom) {
        *result = {0, 0, 0, 0};
        return FALSE;
    }
    *result = common;
    return TRUE;
}
