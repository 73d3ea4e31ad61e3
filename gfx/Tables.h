#pragma once
// Tables that replace arithmetic in the inner loops; filled once by BuildTables when the
// window is created.

#include <cstdint>

// sin(2*pi*i/255): a full turn is 255 steps; the cosine of step k is SineTable[k + 64].
extern double SineTable[320];
// ProductTable[i][j] = i*j kept to 16 bits (so [256][256] reads 0; nothing reads it).
extern uint16_t ProductTable[257][257];

void BuildTables();
