// Storage of the host's preview flag.
#include "common/preview_flag.h"

int isPreview = 0;
