// Which columns of each table a plan keeps in memory, and where each column reference reads its
// value among them: a table keeps, in column order, the columns read anywhere but in its own
// join condition (those are read from its rows as its hash is built). A join key of a table
// joined on the right that is only tested for null is not kept either: the test asks whether the
// row was matched, since a null key matches nothing.
#pragma once

#include "archive/sql/plan.h"

namespace tarvik::archive::sql {

// Fills every source's stored_columns and every column reference's slot.
void assign_slots(Plan& plan);

}  // namespace tarvik::archive::sql
