// The run-wide error handler: one message with the error's number and description, the transfer
// file closed and deleted (an older one at the same path too), and the run ends as failed.
#pragma once

#include <string>

#include "app/run_context.h"

namespace tarvik::app {

// "Si è verificato un errore imprevisto n. 3051 descrizione dell'errore:" then two line feeds and
// the description; the number as the standard signed-number text (a blank before a number of zero
// or more).
std::string UnexpectedErrorMessage(int number, const std::string& description);

void HandleRunError(RunContext& context, int number, const std::string& description);

}  // namespace tarvik::app
