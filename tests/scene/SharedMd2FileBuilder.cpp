// The MD2 file builder of the model tests, compiled into this test program
// too, so the sun's tests write their "sun" model the same way.
#include "model/Md2FileBuilder.cpp"
