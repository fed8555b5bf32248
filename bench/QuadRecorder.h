// Catches the textured quads that the engine sends to OpenGL, for the
// reference renderer. Only the recorder program links it: the program is
// linked with --wrap for each OpenGL call listed in bench/CMakeLists.txt, so
// the engine's calls pass through here on their way to the driver.
#ifndef ZIBO_BENCH_QUAD_RECORDER_H
#define ZIBO_BENCH_QUAD_RECORDER_H

#include "QuadList.h"

#include <vector>

// Between these two calls every quad drawn is kept, transformed into window
// coordinates by the matrices in force at its glBegin.
void StartQuadRecording();
std::vector<Quad> StopQuadRecording();
// Primitives that were not quads, or quads drawn with another blend function
// than the engine's one; the reference cannot stand in for those.
int UnexpectedPrimitiveCount();

#endif
