#pragma once

#include <functional>

class QWidget;

// Runs a long tool step off the window's thread while the windows keep repainting; the
// owner takes no input meanwhile, as under a modal dialog.
void runWhileResponsive(QWidget* owner, const std::function<void()>& work);
