#pragma once

#include <QString>

#include <span>

namespace tavix {

class ResultTable;

// How the grid lays out a field of a TAF selection, looked up by field name (any case).
struct GridColumnLayout
{
    const char *field;   // upper case
    const char *title;   // nullptr: the field name
    int width;           // pixels; 0: the grid's own width
    const char *picture; // number format (see FormatPicture); nullptr: none
};

// The layout of the TAF fields, in their grid order.
std::span<const GridColumnLayout> gridLayout();

// Moves the fields of the layout to its order at the front (fields missing from the table are
// skipped), others keep their mutual order after them; sets titles, widths and, on numeric
// fields, the number format; hides the columns titled "XQYQ" and "PROVINCIA" (any case).
// Presentation only: values and the packet stay as loaded. Does nothing on a closed table.
void ApplyGridLayout(ResultTable &table);

} // namespace tavix
