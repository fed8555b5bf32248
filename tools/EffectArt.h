// Bullets, blood splats and the three seamless floor tiles.
#ifndef ZIBO_TOOLS_EFFECT_ART_H
#define ZIBO_TOOLS_EFFECT_ART_H

#include "Image.h"

// A horizontal tracer, 64 x 8, bright head at the right; frame 0..4. Drawn
// 16 x 4, and stretched to 64 x 4 (cycling the frames) in slow motion.
Image BulletFrame(int frame);
// A blood splat, 64 x 64, soft-edged with droplets; variant 0..2.
Image BloodSplat(int variant);
// 256 x 256 tiles whose opposite edges join without a seam.
Image GridFloor();
Image MetalFloor();
Image PlainFloor();

#endif
