// The zel framework: strings, arrays, shared pointers, locks, files, delegates, logger, sleep.
#pragma once

#include "zel/array.h"
#include "zel/base.h"
#include "zel/delegate.h"
#include "zel/file.h"
#include "zel/format.h"
#include "zel/lock.h"
#include "zel/log.h"
#include "zel/shared.h"
#include "zel/string.h"
#include "zel/time.h"
