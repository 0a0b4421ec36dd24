#pragma once

// Every text of a number, an amount or a date in the program is written and read through these.
#include "datetimeformat.h"
#include "formatsettings.h"
#include "numberformat.h"
