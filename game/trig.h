// The game's own arc tangent, sine and cosine. C libraries differ in the last bit of
// these, and one differing bit can move a shot and then the whole game; ours give the
// same bits on every machine that rounds doubles to nearest and fuses nothing.
#pragma once

double TrigAtan(double x);
// For |x| below 2^20 x pi/2 (the game's angles are below 2 pi).
double TrigSin(double x);
double TrigCos(double x);
