#pragma once
// The player's choices for how the play field is drawn. All off is the game's
// own look; each switch changes only the drawing, never what the rules see.

namespace nj {

struct SceneAccessibility {
    bool colourGlyphs = false;  // doors and keycards also show their colour as a shape
    bool highContrastCones =
        false;                     // guard and camera cones in hues no lamp uses, with crisp edges
    bool reducedFlashing = false;  // pulses, blinks and flares drawn steady
    bool largeLabels = false;      // the card's, keycards', terminal's and markers' words drawn big
};

}  // namespace nj
