// The list a merged view shows its rows in. The rows are the view's order (MergedView::getOrder), which
// changes anywhere, not only at its end; the list is told of each change right after it.
#pragma once

#include <cstdint>

namespace kestrano {

class MergedList {
public:
    virtual ~MergedList() = default;

    virtual void rowInserted(int32_t row) = 0;
    virtual void rowDeleted(int32_t row) = 0;
    // The row's message grew by a continuation line.
    virtual void rowChanged(int32_t row) = 0;
    // The order was made anew.
    virtual void rowsReset() = 0;
    virtual void scrollIntoView(int32_t row) = 0;
    // The selected row, or -1 when none is.
    virtual int32_t selectedRow() const = 0;
};

} // namespace kestrano
