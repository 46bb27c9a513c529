#pragma once
// The dialogs the main window loads and shows.
#include "dialogstate.h"
#include "frmadd.h"
#include "frminfo.h"
#include "frmkey.h"
#include "frmoptions.h"
#include "frmscan.h"
#include "frmtip.h"
