#include "CharacterArt.h"

#include "Angles.h"

#include <cmath>

namespace {

// The walk cycle: four distinct phases of one stride, so that every frame
// differs and the legs swing forward and back in turn.
double Swing(int frame) {
    return std::sin(kTau * frame / 4.0 + 0.6);
}

Color Lighter(const Color& c, double t) {
    return Mix(c, Color{1, 1, 1, c.a}, t);
}
Color Darker(const Color& c, double t) {
    return Mix(c, Color{0, 0, 0, c.a}, t);
}

const Color kOutline = Rgb(12, 12, 14, 0.9);
const double kOutlineWidth = 0.55;

// Soft ground shadow under a figure.
void GroundShadow(cairo_t* cr, double cx, double cy, double rx, double ry, double strength) {
    cairo_save(cr);
    cairo_translate(cr, cx, cy);
    cairo_scale(cr, rx, ry);
    cairo_pattern_t* p = cairo_pattern_create_radial(0, 0, 0, 0, 0, 1);
    cairo_pattern_add_color_stop_rgba(p, 0.0, 0, 0, 0, strength);
    cairo_pattern_add_color_stop_rgba(p, 0.6, 0, 0, 0, strength * 0.6);
    cairo_pattern_add_color_stop_rgba(p, 1.0, 0, 0, 0, 0);
    cairo_set_source(cr, p);
    cairo_arc(cr, 0, 0, 1, 0, kTau);
    cairo_fill(cr);
    cairo_pattern_destroy(p);
    cairo_restore(cr);
}

// Fills the current path with a top-left lit gradient of base, then strokes
// the dark outline. The path's bounding box sets the light's position.
void ShadeAndOutline(cairo_t* cr, const Color& base, double highlight = 0.35, double shade = 0.35,
                     bool outline = true) {
    double x0, y0, x1, y1;
    cairo_fill_extents(cr, &x0, &y0, &x1, &y1);
    const double cx = (x0 + x1) / 2, cy = (y0 + y1) / 2;
    const double r = std::max(x1 - x0, y1 - y0) * 0.75;
    cairo_pattern_t* p =
        cairo_pattern_create_radial(cx - r * 0.35, cy - r * 0.35, r * 0.05, cx, cy, r);
    AddColorStop(p, 0.0, Lighter(base, highlight));
    AddColorStop(p, 0.55, base);
    AddColorStop(p, 1.0, Darker(base, shade));
    cairo_set_source(cr, p);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(p);
    if (outline) {
        cairo_set_line_width(cr, kOutlineWidth);
        SetSource(cr, kOutline);
        cairo_stroke(cr);
    } else {
        cairo_new_path(cr);
    }
}

void Limb(cairo_t* cr, double x0, double y0, double x1, double y1, double width,
          const Color& fill) {
    Capsule(cr, x0, y0, x1, y1, width + kOutlineWidth * 2, kOutline);
    Capsule(cr, x0, y0, x1, y1, width, fill);
    // a highlight along the upper edge
    Capsule(cr, x0 - 0.25, y0 - width * 0.22, x1 - 0.25, y1 - width * 0.22, width * 0.35,
            Lighter(fill, 0.22));
}

// A circle and an ellipse, lit and outlined as ShadeAndOutline does.
void ShadedCircle(cairo_t* cr, double cx, double cy, double r, const Color& base, double highlight,
                  double shade, bool outline = true) {
    cairo_new_path(cr);
    cairo_arc(cr, cx, cy, r, 0, kTau);
    ShadeAndOutline(cr, base, highlight, shade, outline);
}

void ShadedEllipse(cairo_t* cr, double cx, double cy, double rx, double ry, const Color& base,
                   double highlight, double shade) {
    cairo_new_path(cr);
    EllipsePath(cr, cx, cy, rx, ry);
    ShadeAndOutline(cr, base, highlight, shade);
}

// Strokes the current path like a limb: the outline, then the colour inside
// it. Clears the path.
void OutlinedStroke(cairo_t* cr, double width, const Color& colour) {
    cairo_set_line_width(cr, width + 2 * kOutlineWidth);
    SetSource(cr, kOutline);
    cairo_stroke_preserve(cr);
    cairo_set_line_width(cr, width);
    SetSource(cr, colour);
    cairo_stroke(cr);
}

void Disc(cairo_t* cr, double cx, double cy, double r, const Color& fill, bool outline = true) {
    ShadedCircle(cr, cx, cy, r, fill, 0.35, 0.3, outline);
}

void Boot(cairo_t* cr, double x, double y, const Color& c) {
    ShadedEllipse(cr, x, y, 2.6, 1.75, c, 0.3, 0.3);
}

// Two legs below the body, striding: the left one (-y) swings forward by
// stride, the right one back by the same.
void Legs(cairo_t* cr, double hipX, double stride, const Color& cloth, const Color& boot) {
    const double yl = 10.2, yr = 21.8;
    Limb(cr, hipX, yl, hipX + stride, yl, 3.6, cloth);
    Limb(cr, hipX, yr, hipX - stride, yr, 3.6, cloth);
    Boot(cr, hipX + stride + 1.4, yl, boot);
    Boot(cr, hipX - stride + 1.4, yr, boot);
}

// --- The soldier ------------------------------------------------------------

const Color kOlive = Rgb(104, 136, 56);
const Color kOliveDark = Rgb(62, 78, 38);
const Color kVest = Rgb(140, 156, 78);
const Color kSkin = Rgb(226, 176, 132);
const Color kGlove = Rgb(48, 44, 38);
const Color kBootBrown = Rgb(52, 38, 28);
const Color kGunMetal = Rgb(40, 43, 48);

void Rifle(cairo_t* cr, double shift, double y) {
    // stock, receiver, handguard, barrel and muzzle, back to front along +x
    cairo_new_path(cr);
    RoundedRectPath(cr, 11.0 + shift, y - 1.25, 4.5, 2.5, 0.8);
    ShadeAndOutline(cr, Rgb(70, 52, 36), 0.25, 0.3);
    cairo_new_path(cr);
    RoundedRectPath(cr, 14.5 + shift, y - 1.35, 7.5, 2.7, 0.6);
    ShadeAndOutline(cr, kGunMetal, 0.35, 0.3);
    cairo_new_path(cr);
    RoundedRectPath(cr, 21.5 + shift, y - 1.1, 5.0, 2.2, 0.5);
    ShadeAndOutline(cr, Rgb(56, 60, 52), 0.3, 0.3);
    cairo_new_path(cr);
    cairo_rectangle(cr, 26.2 + shift, y - 0.55, 4.3, 1.1);
    ShadeAndOutline(cr, Rgb(30, 32, 36), 0.4, 0.2);
    // muzzle tip and a sight line along the top
    cairo_new_path(cr);
    cairo_rectangle(cr, 30.0 + shift, y - 0.75, 1.3, 1.5);
    SetSource(cr, Rgb(18, 18, 20));
    cairo_fill(cr);
    Capsule(cr, 15.5 + shift, y - 0.2, 25.5 + shift, y - 0.2, 0.45, Rgb(120, 126, 134, 0.8));
}

Image DrawSoldier(int frame) {
    Drawing d(32 * kArtScale, 32 * kArtScale, kArtScale);
    cairo_t* cr = d.Context();
    const double s = Swing(frame);
    const double twist = -s * 0.08;  // shoulders turn against the stride
    GroundShadow(cr, 16.8, 17.4, 13.0, 11.0, 0.45);
    Legs(cr, 14.0, s * 6.5, kOliveDark, kBootBrown);

    cairo_save(cr);
    cairo_translate(cr, 14.5, 16.0);
    cairo_rotate(cr, twist);
    cairo_translate(cr, -14.5, -16.0);
    // backpack on the back
    cairo_new_path(cr);
    RoundedRectPath(cr, 7.8, 12.0, 4.4, 8.0, 1.5);
    ShadeAndOutline(cr, Rgb(76, 84, 50), 0.25, 0.35);
    Capsule(cr, 8.6, 14.0, 11.4, 14.0, 0.6, Rgb(40, 44, 28, 0.9));
    Capsule(cr, 8.6, 18.0, 11.4, 18.0, 0.6, Rgb(40, 44, 28, 0.9));
    // torso: broad across the shoulders (along y)
    ShadedEllipse(cr, 14.6, 16.0, 4.6, 7.8, kVest, 0.3, 0.45);
    Capsule(cr, 16.6, 10.6, 16.6, 21.4, 0.7, Rgb(70, 76, 42, 0.9));
    // shoulder pads
    Disc(cr, 14.8, 8.9, 2.3, kOlive);
    Disc(cr, 14.8, 23.1, 2.3, kOlive);
    cairo_restore(cr);

    // the rifle on the right side, held forward to the image's right edge
    const double gunShift = s * 0.5;
    const double gunY = 19.6;
    const double shoulderLy = 8.9 - twist * 5.0, shoulderRy = 23.1 - twist * 5.0;
    Rifle(cr, gunShift, gunY);
    // right hand on the grip, left arm reaching across to the handguard
    Limb(cr, 15.0, shoulderRy, 18.2 + gunShift, gunY + 1.0, 2.7, kOlive);
    Disc(cr, 18.6 + gunShift, gunY + 0.6, 1.4, kGlove);
    Limb(cr, 15.2, shoulderLy, 20.4 + gunShift, 13.6, 2.7, kOlive);
    Limb(cr, 20.4 + gunShift, 13.6, 24.2 + gunShift, gunY - 0.9, 2.4, kOlive);
    Disc(cr, 24.4 + gunShift, gunY - 0.6, 1.4, kGlove);

    // head: a helmet with the face's front edge showing
    Disc(cr, 17.0, 15.4, 2.9, kSkin);
    ShadedCircle(cr, 15.9, 15.4, 3.6, kOlive, 0.45, 0.45);
    cairo_save(cr);
    cairo_arc(cr, 15.9, 15.4, 3.3, 0, kTau);
    cairo_clip(cr);
    Capsule(cr, 13.8, 12.0, 13.8, 18.8, 0.7, Rgb(50, 60, 32, 0.85));
    Disc(cr, 16.6, 13.7, 0.6, Rgb(60, 74, 40, 0.7), false);
    Disc(cr, 15.0, 17.2, 0.7, Rgb(60, 74, 40, 0.7), false);
    cairo_restore(cr);
    Disc(cr, 14.9, 14.2, 0.8, Rgb(200, 214, 160, 0.55), false);
    return d.ToImage();
}

// --- The bad guy ------------------------------------------------------------

const Color kJacket = Rgb(128, 20, 24);
const Color kJacketDark = Rgb(44, 14, 16);
const Color kBadSkin = Rgb(150, 168, 128);
const Color kClaw = Rgb(232, 226, 206);

void Claws(cairo_t* cr, double hx, double hy) {
    for (int i = -1; i <= 1; ++i) {
        const double ox = hx + 1.0, oy = hy + i * 0.9;
        Capsule(cr, ox, oy, ox + 2.1, oy + i * 0.55, 0.7, kOutline);
        Capsule(cr, ox, oy, ox + 2.0, oy + i * 0.5, 0.42, kClaw);
    }
}

void Spike(cairo_t* cr, double x, double y, double dx, double dy) {
    const double len = std::sqrt(dx * dx + dy * dy);
    const double nx = -dy / len * 0.9, ny = dx / len * 0.9;
    cairo_new_path(cr);
    cairo_move_to(cr, x + nx, y + ny);
    cairo_line_to(cr, x + dx, y + dy);
    cairo_line_to(cr, x - nx, y - ny);
    cairo_close_path(cr);
    ShadeAndOutline(cr, Rgb(196, 196, 204), 0.4, 0.4);
}

Image DrawBadGuy(int frame) {
    Drawing d(32 * kArtScale, 32 * kArtScale, kArtScale);
    cairo_t* cr = d.Context();
    const double s = Swing(frame);
    GroundShadow(cr, 17.0, 17.6, 12.5, 11.0, 0.45);
    Legs(cr, 14.0, s * 4.6, Rgb(34, 30, 34), Rgb(18, 16, 18));

    // arms reach forward and swing against the legs
    const double reachL = 23.6 - s * 2.6, reachR = 23.6 + s * 2.6;
    Limb(cr, 15.4, 9.0, reachL, 10.0, 3.0, kJacket);
    Limb(cr, 15.4, 23.0, reachR, 22.0, 3.0, kJacket);
    Claws(cr, reachL + 0.6, 10.0);
    Claws(cr, reachR + 0.6, 22.0);
    Disc(cr, reachL + 0.6, 10.0, 1.6, kBadSkin);
    Disc(cr, reachR + 0.6, 22.0, 1.6, kBadSkin);

    // torso: a red jacket with black stripes and spiked shoulders
    ShadedEllipse(cr, 15.0, 16.0, 5.6, 8.4, kJacket, 0.3, 0.5);
    cairo_save(cr);
    EllipsePath(cr, 15.0, 16.0, 5.3, 8.1);
    cairo_clip(cr);
    Capsule(cr, 11.4, 7.0, 11.4, 25.0, 1.3, kJacketDark);
    Capsule(cr, 18.4, 9.0, 18.4, 23.0, 0.7, kJacketDark);
    cairo_restore(cr);
    Disc(cr, 15.2, 8.8, 2.7, kJacketDark);
    Disc(cr, 15.2, 23.2, 2.7, kJacketDark);
    Spike(cr, 14.6, 8.0, -1.4, -3.2);
    Spike(cr, 16.4, 7.8, 0.6, -3.4);
    Spike(cr, 14.6, 24.0, -1.4, 3.2);
    Spike(cr, 16.4, 24.2, 0.6, 3.4);

    // a black hood over the head, two glowing eyes at the front
    ShadedCircle(cr, 16.8, 16.0, 4.2, Rgb(40, 34, 38), 0.3, 0.5);
    cairo_save(cr);
    cairo_arc(cr, 16.8, 16.0, 3.9, 0, kTau);
    cairo_clip(cr);
    Capsule(cr, 12.6, 16.0, 18.0, 16.0, 0.8, Rgb(120, 16, 20, 0.9));
    cairo_restore(cr);
    for (int side = -1; side <= 1; side += 2) {
        const double ex = 19.8, ey = 16.0 + side * 1.6;
        cairo_pattern_t* glow = cairo_pattern_create_radial(ex, ey, 0, ex, ey, 2.6);
        cairo_pattern_add_color_stop_rgba(glow, 0, 1, 0.25, 0.1, 0.95);
        cairo_pattern_add_color_stop_rgba(glow, 1, 1, 0.0, 0.0, 0.0);
        cairo_set_source(cr, glow);
        cairo_arc(cr, ex, ey, 2.6, 0, kTau);
        cairo_fill(cr);
        cairo_pattern_destroy(glow);
        Disc(cr, ex, ey, 0.7, Rgb(255, 240, 140), false);
    }
    return d.ToImage();
}

// --- Corpses ----------------------------------------------------------------

struct BodyColours {
    Color cloth, clothDark, skin, boot, hand;
};

// A figure lying on its back, head to the right, limbs flung out.
void LyingBody(cairo_t* cr, const BodyColours& c) {
    GroundShadow(cr, 16.0, 16.5, 15.0, 10.0, 0.35);
    // legs, splayed
    Limb(cr, 12.0, 14.2, 4.6, 9.8, 3.6, c.clothDark);
    Limb(cr, 12.0, 18.0, 4.0, 21.6, 3.6, c.clothDark);
    Boot(cr, 3.2, 9.0, c.boot);
    Boot(cr, 2.6, 22.2, c.boot);
    // arms flung out
    Limb(cr, 19.6, 10.4, 22.0, 4.0, 2.8, c.cloth);
    Limb(cr, 22.0, 4.0, 26.6, 2.6, 2.6, c.cloth);
    Limb(cr, 19.6, 21.6, 15.6, 27.4, 2.8, c.cloth);
    Disc(cr, 27.6, 2.6, 1.4, c.hand);
    Disc(cr, 14.8, 28.2, 1.4, c.hand);
    // torso along x
    ShadedEllipse(cr, 16.2, 16.0, 7.0, 5.6, c.cloth, 0.25, 0.5);
    // a dark wound stain on the chest
    cairo_pattern_t* stain = cairo_pattern_create_radial(17.5, 15.0, 0, 17.5, 15.0, 3.4);
    cairo_pattern_add_color_stop_rgba(stain, 0, 0.35, 0.0, 0.0, 0.9);
    cairo_pattern_add_color_stop_rgba(stain, 1, 0.35, 0.0, 0.0, 0.0);
    cairo_set_source(cr, stain);
    cairo_arc(cr, 17.5, 15.0, 3.4, 0, kTau);
    cairo_fill(cr);
    cairo_pattern_destroy(stain);
    // head, turned to the side
    Disc(cr, 25.4, 17.4, 3.7, c.skin);
}

Image DrawSoldierCorpse() {
    Drawing d(32 * kArtScale, 32 * kArtScale, kArtScale);
    cairo_t* cr = d.Context();
    LyingBody(cr, BodyColours{kOlive, kOliveDark, kSkin, kBootBrown, kGlove});
    // closed eyes and hair on the bare head, the helmet rolled away
    Capsule(cr, 26.6, 16.0, 27.6, 16.2, 0.45, Rgb(60, 36, 28));
    Capsule(cr, 26.6, 18.6, 27.6, 18.4, 0.45, Rgb(60, 36, 28));
    cairo_save(cr);
    cairo_arc(cr, 25.4, 17.4, 3.5, 0, kTau);
    cairo_clip(cr);
    Disc(cr, 23.4, 17.4, 3.0, Rgb(92, 64, 40), false);
    cairo_restore(cr);
    ShadedCircle(cr, 27.2, 8.6, 3.6, kOlive, 0.45, 0.45);
    cairo_new_path(cr);
    cairo_arc(cr, 27.2, 8.6, 2.4, 0, kTau);
    SetSource(cr, Rgb(40, 48, 26));
    cairo_fill(cr);
    // the dropped rifle
    cairo_save(cr);
    cairo_translate(cr, 16.0, 26.0);
    cairo_rotate(cr, -0.25);
    cairo_translate(cr, -20.0, -16.0);
    Rifle(cr, 0.0, 16.0);
    cairo_restore(cr);
    return d.ToImage();
}

Image DrawBadGuyCorpse() {
    Drawing d(32 * kArtScale, 32 * kArtScale, kArtScale);
    cairo_t* cr = d.Context();
    LyingBody(cr, BodyColours{kJacket, Rgb(34, 30, 34), kBadSkin, Rgb(18, 16, 18), kBadSkin});
    Disc(cr, 16.2, 11.0, 2.4, kJacketDark);
    Disc(cr, 16.2, 21.0, 2.4, kJacketDark);
    Spike(cr, 16.2, 10.0, 0.4, -3.0);
    Spike(cr, 16.2, 22.0, 0.4, 3.0);
    // the hood, and crossed-out eyes
    ShadedCircle(cr, 25.4, 17.4, 3.7, Rgb(40, 34, 38), 0.3, 0.5);
    for (int side = -1; side <= 1; side += 2) {
        const double ex = 27.0, ey = 17.4 + side * 1.8;
        Capsule(cr, ex - 0.6, ey - 0.6, ex + 0.6, ey + 0.6, 0.5, Rgb(230, 60, 40));
        Capsule(cr, ex - 0.6, ey + 0.6, ex + 0.6, ey - 0.6, 0.5, Rgb(230, 60, 40));
    }
    return d.ToImage();
}

// --- The cat ----------------------------------------------------------------

const Color kFur = Rgb(232, 148, 56);
const Color kFurDark = Rgb(168, 88, 28);
const Color kFurLight = Rgb(250, 214, 160);

void CatTail(cairo_t* cr, double sway, double width) {
    cairo_save(cr);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_new_path(cr);
    cairo_move_to(cr, 7.5, 8.0);
    cairo_curve_to(cr, 4.5, 8.0, 3.0, 8.0 + sway * 0.4, 1.2, 8.0 + sway);
    OutlinedStroke(cr, width, kFur);
    Disc(cr, 1.3, 8.0 + sway, width * 0.5, kFurDark, false);
    cairo_restore(cr);
}

void CatEar(cairo_t* cr, double side) {
    // ears stand on the back corners of the head, tips turned outward
    cairo_new_path(cr);
    cairo_move_to(cr, 22.2, 8.0 + side * 1.8);
    cairo_line_to(cr, 21.4, 8.0 + side * 6.2);
    cairo_line_to(cr, 25.6, 8.0 + side * 3.2);
    cairo_close_path(cr);
    ShadeAndOutline(cr, kFurDark, 0.3, 0.2);
    cairo_new_path(cr);
    cairo_move_to(cr, 22.6, 8.0 + side * 2.8);
    cairo_line_to(cr, 22.1, 8.0 + side * 5.1);
    cairo_line_to(cr, 24.4, 8.0 + side * 3.4);
    cairo_close_path(cr);
    SetSource(cr, Rgb(236, 150, 160));
    cairo_fill(cr);
}

void CatHead(cairo_t* cr, bool dead) {
    CatEar(cr, -1);
    CatEar(cr, 1);
    Disc(cr, 24.6, 8.0, 3.9, kFur);
    // muzzle, nose, whiskers
    Disc(cr, 27.4, 8.0, 1.5, kFurLight, false);
    Disc(cr, 28.4, 8.0, 0.55, Rgb(220, 110, 120), false);
    for (int side = -1; side <= 1; side += 2) {
        Capsule(cr, 27.6, 8.0 + side * 0.9, 30.4, 8.0 + side * 2.6, 0.22, Rgb(250, 250, 240, 0.9));
        Capsule(cr, 27.6, 8.0 + side * 0.7, 31.0, 8.0 + side * 1.3, 0.22, Rgb(250, 250, 240, 0.9));
        const double ex = 26.2, ey = 8.0 + side * 1.6;
        if (dead) {
            Capsule(cr, ex - 0.5, ey - 0.5, ex + 0.5, ey + 0.5, 0.35, Rgb(30, 20, 10));
            Capsule(cr, ex - 0.5, ey + 0.5, ex + 0.5, ey - 0.5, 0.35, Rgb(30, 20, 10));
        } else {
            Disc(cr, ex, ey, 0.75, Rgb(120, 210, 60), false);
            Capsule(cr, ex, ey - 0.4, ex, ey + 0.4, 0.3, Rgb(10, 10, 10));
        }
    }
    // forehead stripes
    Capsule(cr, 22.2, 8.0, 24.6, 8.0, 0.5, kFurDark);
    Capsule(cr, 22.6, 6.6, 24.2, 7.2, 0.4, kFurDark);
    Capsule(cr, 22.6, 9.4, 24.2, 8.8, 0.4, kFurDark);
}

Image DrawCat(int frame) {
    Drawing d(32 * kArtScale, 16 * kArtScale, kArtScale);
    cairo_t* cr = d.Context();
    const double s = Swing(frame);
    const double stride = s * 2.4;
    GroundShadow(cr, 15.5, 8.6, 15.0, 7.5, 0.4);
    CatTail(cr, 2.6 * std::cos(kTau * frame / 4.0 + 0.6), 1.8);
    // legs: a trot, diagonal pairs together
    const double frontX = 19.0, backX = 9.0;
    struct Leg {
        double x, side, offset;
    } legs[4] = {
        {frontX, -1, stride}, {frontX, 1, -stride}, {backX, -1, -stride}, {backX, 1, stride}};
    for (const Leg& leg : legs) {
        const double y0 = 8.0 + leg.side * 2.6, y1 = 8.0 + leg.side * 5.0;
        Limb(cr, leg.x, y0, leg.x + leg.offset, y1, 1.7, kFur);
        Disc(cr, leg.x + leg.offset + 0.2, y1 + leg.side * 0.3, 1.05, kFurLight);
    }
    // body with tabby stripes across the back
    ShadedEllipse(cr, 14.2, 8.0, 8.6, 4.3, kFur, 0.35, 0.35);
    cairo_save(cr);
    EllipsePath(cr, 14.2, 8.0, 8.2, 3.9);
    cairo_clip(cr);
    for (double x = 8.0; x <= 20.5; x += 2.5) {
        cairo_new_path(cr);
        cairo_move_to(cr, x, 3.4);
        cairo_curve_to(cr, x - 0.9, 6.0, x - 0.9, 10.0, x, 12.6);
        cairo_set_line_width(cr, 0.9);
        SetSource(cr, kFurDark, 0.9);
        cairo_stroke(cr);
    }
    Capsule(cr, 6.0, 8.0, 21.0, 8.0, 1.0, Mix(kFurDark, kFur, 0.3));
    cairo_restore(cr);
    CatHead(cr, false);
    return d.ToImage();
}

Image DrawCatCorpse() {
    Drawing d(32 * kArtScale, 16 * kArtScale, kArtScale);
    cairo_t* cr = d.Context();
    GroundShadow(cr, 15.5, 8.6, 15.5, 7.5, 0.35);
    // lying on its side: legs stiff and straight out, tail limp
    cairo_save(cr);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_new_path(cr);
    cairo_move_to(cr, 6.5, 7.0);
    cairo_curve_to(cr, 4.0, 7.5, 2.5, 10.0, 1.0, 12.5);
    OutlinedStroke(cr, 1.8, kFur);
    cairo_restore(cr);
    const double legX[4] = {8.0, 10.4, 17.6, 20.0};
    for (int i = 0; i < 4; ++i) {
        const double tilt = (i % 2 == 0 ? -0.6 : 0.6);
        Limb(cr, legX[i], 9.0, legX[i] + tilt, 14.3, 1.7, kFur);
        Disc(cr, legX[i] + tilt, 14.4, 1.0, kFurLight);
    }
    ShadedEllipse(cr, 14.0, 7.4, 8.8, 4.0, kFur, 0.3, 0.4);
    cairo_save(cr);
    EllipsePath(cr, 14.0, 7.4, 8.4, 3.6);
    cairo_clip(cr);
    // belly showing and stripes on the flank
    Disc(cr, 14.0, 10.6, 5.0, kFurLight, false);
    for (double x = 8.0; x <= 20.5; x += 2.5) {
        Capsule(cr, x, 3.2, x - 0.6, 7.2, 0.9, kFurDark);
    }
    cairo_restore(cr);
    cairo_save(cr);
    cairo_translate(cr, 0.0, -0.8);
    CatHead(cr, true);
    cairo_restore(cr);
    // tongue
    Capsule(cr, 29.0, 7.4, 30.2, 7.8, 0.7, Rgb(230, 100, 120));
    return d.ToImage();
}

}  // namespace

Image SoldierFrame(int frame) {
    return DrawSoldier(frame);
}
Image SoldierCorpse() {
    return DrawSoldierCorpse();
}
Image BadGuyFrame(int frame) {
    return DrawBadGuy(frame);
}
Image BadGuyCorpse() {
    return DrawBadGuyCorpse();
}
Image CatFrame(int frame) {
    return DrawCat(frame);
}
Image CatCorpse() {
    return DrawCatCorpse();
}
