#pragma once
// The play field drawn from the game's public state. Every function only reads
// the game and appends triangles to the batch, so each can run on a CPU batch.
// World coordinates are canvas coordinates: there is no camera.

#include "game/game.hpp"
#include "render/batch.hpp"
#include "render/scene/scene_accessibility.hpp"

namespace nj {

// Distance along angle `angle` from (x, y) to the first obstacle that stops
// sight (walls, a gate less than 80 % open, doors less than 80 % open), sampled
// every 7.5 units from 8 on and pulled back half a step; `maxDistance` when
// nothing is in the way, and never less than 6 once something is.
float castVisionRay(const Game& game, float x, float y, float angle, float maxDistance);

// Everything between starting and finishing a frame's recording: the briefing
// skyline alone in the dossier, else the whole play field in its fixed layers.
// Without accessibility choices it is the game's own look.
void drawScene(Batch& batch, const Game& game);
void drawScene(Batch& batch, const Game& game, const SceneAccessibility& accessibility);

// The night skyline behind the dossier page.
void drawBriefingBackdrop(Batch& batch, const Game& game);

// World, bottom to top.
void drawFloor(Batch& batch, const Game& game);
void drawPressurePlates(Batch& batch, const Game& game);
void drawFurniture(Batch& batch, const Game& game);
void drawGetawayVehicle(Batch& batch, const Game& game);
void drawObjectiveMarkers(Batch& batch, const Game& game);
void drawFootprints(Batch& batch, const Game& game);
void drawImpacts(Batch& batch, const Game& game);
void drawVaultGate(Batch& batch, const Game& game);
void drawDoors(Batch& batch, const Game& game);
void drawLasers(Batch& batch, const Game& game);
void drawCipherCard(Batch& batch, const Game& game);
void drawKeycards(Batch& batch, const Game& game);
void drawSafeTerminal(Batch& batch, const Game& game);
void drawCameras(Batch& batch, const Game& game);
void drawPlayerLightCone(Batch& batch, const Game& game);
void drawGuardVisionCones(Batch& batch, const Game& game);
void drawGuards(Batch& batch, const Game& game);
// The best run's operative, translucent, just under the live one; nothing
// unless the shell has set a visible ghost view.
void drawGhost(Batch& batch, const Game& game);
void drawPlayer(Batch& batch, const Game& game);
void drawTakedownRing(Batch& batch, const Game& game);
void drawTakedownTarget(Batch& batch, const Game& game);
void drawSmoke(Batch& batch, const Game& game);
void drawTracers(Batch& batch, const Game& game);
void drawWalls(Batch& batch, const Game& game);
void drawDust(Batch& batch, const Game& game);
void drawParticles(Batch& batch, const Game& game);
void drawDetectionBorder(Batch& batch, const Game& game);
void drawBannerFrame(Batch& batch, const Game& game);
void drawSafeDimming(Batch& batch, const Game& game);

// The steps the player's accessibility choices change; the forms above draw
// them as the game's own look.
void drawPressurePlatesWith(Batch& batch, const Game& game,
                            const SceneAccessibility& accessibility);
void drawFurnitureWith(Batch& batch, const Game& game, const SceneAccessibility& accessibility);
void drawGetawayVehicleWith(Batch& batch, const Game& game,
                            const SceneAccessibility& accessibility);
void drawObjectiveMarkersWith(Batch& batch, const Game& game,
                              const SceneAccessibility& accessibility);
void drawDoorsWith(Batch& batch, const Game& game, const SceneAccessibility& accessibility);
void drawLasersWith(Batch& batch, const Game& game, const SceneAccessibility& accessibility);
void drawCipherCardWith(Batch& batch, const Game& game, const SceneAccessibility& accessibility);
void drawKeycardsWith(Batch& batch, const Game& game, const SceneAccessibility& accessibility);
void drawSafeTerminalWith(Batch& batch, const Game& game, const SceneAccessibility& accessibility);
void drawCamerasWith(Batch& batch, const Game& game, const SceneAccessibility& accessibility);
void drawGuardVisionConesWith(Batch& batch, const Game& game,
                              const SceneAccessibility& accessibility);
void drawTakedownTargetWith(Batch& batch, const Game& game,
                            const SceneAccessibility& accessibility);
void drawTracersWith(Batch& batch, const Game& game, const SceneAccessibility& accessibility);
void drawParticlesWith(Batch& batch, const Game& game, const SceneAccessibility& accessibility);
void drawBannerFrameWith(Batch& batch, const Game& game, const SceneAccessibility& accessibility);
// Larger text's labels for the goals, over the walls; nothing without it.
void drawLargeLabels(Batch& batch, const Game& game, const SceneAccessibility& accessibility);

}  // namespace nj
