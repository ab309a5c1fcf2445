// The archive checks that can refuse an export, and the department question. Each check returns
// true for go; on a no-go it has already shown its findings in the error panel.
#pragma once

#include "archive/database.h"
#include "ui/window_port.h"

namespace tarvik::checks {

bool CheckSchema(archive::Database& archive, ui::WindowPort& window);
bool CheckDuplicateSuppliers(archive::Database& archive, ui::WindowPort& window);
bool CheckMissingDestinations(archive::Database& archive, ui::WindowPort& window);

// Shows `text` in the error panel, disables the button and restores the default pointer.
void ShowError(ui::WindowPort& window, const std::string& text);

// Whether warehouse locations carry till departments; any error means no.
bool AskDepartmentUse(archive::Database& archive, ui::WindowPort& window);

}  // namespace tarvik::checks
