#pragma once

#include <initializer_list>

class QWidget;

namespace tagwarden {

// Sets the keyboard focus order of `widgets`, first to last.
void chainTabOrder(std::initializer_list<QWidget*> widgets);

}  // namespace tagwarden
