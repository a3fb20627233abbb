// Counting the process's live GDI objects, for the handle-leak tests.
#pragma once

// The number of live GDI objects of this process, or -1 when it cannot be told.
int countGdiObjects();
