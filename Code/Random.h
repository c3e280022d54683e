#pragma once

// The program's one random sequence, never seeded: every scene draws from it,
// so what one scene sees depends on the draws made before.
int Rand();
