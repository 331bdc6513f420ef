// The layers of one play-field frame, bottom to top.

#include "render/scene/scene.hpp"

namespace nj {

void drawScene(Batch& batch, const Game& game) {
    drawScene(batch, game, SceneAccessibility{});
}

void drawScene(Batch& batch, const Game& game, const SceneAccessibility& accessibility) {
    if (game.gameState == GameState::Briefing) {
        drawBriefingBackdrop(batch, game);
        return;
    }
    // Paused and the two end screens show the frozen world under the page.
    drawFloor(batch, game);
    drawPressurePlatesWith(batch, game, accessibility);
    drawFurnitureWith(batch, game, accessibility);
    drawGetawayVehicleWith(batch, game, accessibility);
    drawObjectiveMarkersWith(batch, game, accessibility);
    drawFootprints(batch, game);
    drawImpacts(batch, game);
    drawVaultGate(batch, game);
    drawDoorsWith(batch, game, accessibility);
    drawLasersWith(batch, game, accessibility);
    drawCipherCardWith(batch, game, accessibility);
    drawKeycardsWith(batch, game, accessibility);
    drawSafeTerminalWith(batch, game, accessibility);
    drawCamerasWith(batch, game, accessibility);
    drawPlayerLightCone(batch, game);
    drawGuardVisionConesWith(batch, game, accessibility);
    drawGuards(batch, game);
    drawGhost(batch, game);
    drawPlayer(batch, game);
    drawTakedownRing(batch, game);
    drawTakedownTargetWith(batch, game, accessibility);
    drawSmoke(batch, game);
    drawTracersWith(batch, game, accessibility);
    // Wall tops go over the actors so cones and shoulders that reach under a
    // wall are hidden by it.
    drawWalls(batch, game);
    drawLargeLabels(batch, game, accessibility);
    drawDust(batch, game);
    drawParticlesWith(batch, game, accessibility);
    drawDetectionBorder(batch, game);
    drawBannerFrameWith(batch, game, accessibility);
    drawSafeDimming(batch, game);
}

}  // namespace nj
