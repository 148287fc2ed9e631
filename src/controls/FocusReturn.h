#pragma once

class QWidget;

// A field that refuses to be left takes the focus back. While it does, the focus events that
// this causes (the field it leaves losing the focus, itself gaining it) must not run their own
// checks, or two refusing fields would pass the focus, and their messages, back and forth.
namespace FocusReturn {

void to(QWidget *field);
bool inProgress();

} // namespace FocusReturn
