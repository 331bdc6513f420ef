// The layers of one play-field frame, bottom to top.

#include "render/scene/scene.hpp"

namespace nj {

void drawScene(Batch& batch, const Game& game) {
    drawScene(batch, game, SceneAccessibility{});
}

void drawScene(Batch& batch, const Game& game, const SceneAccessibility& accessibility) {
    (void)accessibility;
    if (game.gameState == GameState::Briefing) {
        drawBriefingBackdrop(batch, game);
        return;
    }
    // Paused and the two end screens show the frozen world under the page.
    drawFloor(batch, game);
    drawPressurePlates(batch, game);
    drawFurniture(batch, game);
    drawGetawayVehicle(batch, game);
    drawObjectiveMarkers(batch, game);
    drawFootprints(batch, game);
    drawImpacts(batch, game);
    drawVaultGate(batch, game);
    drawDoors(batch, game);
    drawLasers(batch, game);
    drawCipherCard(batch, game);
    drawKeycards(batch, game);
    drawSafeTerminal(batch, game);
    drawCameras(batch, game);
    drawPlayerLightCone(batch, game);
    drawGuardVisionCones(batch, game);
    drawGuards(batch, game);
    drawPlayer(batch, game);
    drawTakedownRing(batch, game);
    drawTakedownTarget(batch, game);
    drawSmoke(batch, game);
    drawTracers(batch, game);
    // Wall tops go over the actors so cones and shoulders that reach under a
    // wall are hidden by it.
    drawWalls(batch, game);
    drawDust(batch, game);
    drawParticles(batch, game);
    drawDetectionBorder(batch, game);
    drawBannerFrame(batch, game);
    drawSafeDimming(batch, game);
}

}  // namespace nj
