// NIGHTJAR : Glass Harbor: bring-up, the frame loop and tear-down.
//
// Bring-up order: window -> asset package -> icon -> renderer -> audio ->
// game -> page overlay -> campaign -> first update and frame -> window shown
// -> loop. Each frame: begin, the play field, the page over it, finish,
// present. Keys go to the page first, then to the game.
// Tear-down: pointers cleared, audio stopped, renderer shut down, then the
// page, the game, the audio engine and the renderer destroyed, in that order.
#include <SDL2/SDL.h>
#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <optional>
#include <thread>

#include "app/clipboard.hpp"
#include "app/command_line.hpp"
#include "app/editor_session.hpp"
#include "app/frame_clock.hpp"
#include "app/gamepads.hpp"
#include "app/globals.hpp"
#include "app/input_router.hpp"
#include "app/options_shell.hpp"
#include "app/overlay_canvas.hpp"
#include "app/pad_script.hpp"
#include "app/replay_viewer.hpp"
#include "app/rumble_cues.hpp"
#include "app/shell_window.hpp"
#include "app/window_procedure.hpp"
#include "audio/audio_engine.hpp"
#include "core/page_size.hpp"
#include "data/package.hpp"
#include "data/player_files.hpp"
#include "game/game.hpp"
#include "game/ghost_run.hpp"
#include "game/mission_file.hpp"
#include "game/player_options.hpp"
#include "game/replay_keeper.hpp"
#include "game/run_recorder.hpp"
#include "render/scene/scene_renderer.hpp"
#include "render/vulkan_renderer.hpp"
#include "ui/overlay_ui.hpp"

namespace nj {
namespace {

constexpr float kFixedStep = 1.0f / 60.0f;

void requestQuit() {
    SDL_Event quit{};
    quit.type = SDL_QUIT;
    SDL_PushEvent(&quit);
}

// While nobody can see the window, the loop sleeps until something happens
// (a restore, a key, a controller, a quit) instead of drawing unseen frames.
// The game does not advance meanwhile; the first step after is capped as
// after any stall. False when the loop must end.
bool waitWhileOutOfSight(ShellWindow& window, const ShellInputs& inputs) {
    constexpr int kWakeEveryMs = 250;
    while (window.outOfSight()) {
        SDL_Event event;
        if (SDL_WaitEventTimeout(&event, kWakeEveryMs) &&
            handleWindowEvent(event, window, inputs) == EventResult::Quit) {
            return false;
        }
    }
    return true;
}

// False when the loop must end: the window was closed or the game quit.
bool drainEvents(ShellWindow& window, const ShellInputs& inputs) {
    SDL_Event event;
    while (SDL_PollEvent(&event)) {
        if (handleWindowEvent(event, window, inputs) == EventResult::Quit) return false;
    }
    return true;
}

// Processor seconds the whole process has used, every thread counted (a
// software rasteriser draws on threads of its own).
double processorSeconds() {
    rusage use{};
    if (getrusage(RUSAGE_SELF, &use) != 0) return 0.0;
    const auto seconds = [](const timeval& t) { return t.tv_sec + t.tv_usec / 1e6; };
    return seconds(use.ru_utime) + seconds(use.ru_stime);
}

// The frame rate swings with whatever else the machine runs; the processor
// time a frame takes barely does, so changes to the drawing are compared by it.
void reportFrameRate(unsigned frames, std::uint64_t started, std::uint64_t frequency,
                     double processorAtStart) {
    const double seconds =
        static_cast<double>(SDL_GetPerformanceCounter() - started) / static_cast<double>(frequency);
    const double processorMs = (processorSeconds() - processorAtStart) * 1000.0;
    std::printf("nightjar: %u frames in %.2f s, %.1f fps, %.1f ms of processor time a frame\n",
                frames, seconds, seconds > 0.0 ? frames / seconds : 0.0,
                frames > 0 ? processorMs / frames : 0.0);
}

// The display's refresh rate, 0 when unknown.
int refreshRate(SDL_Window* window) {
    SDL_DisplayMode mode{};
    return SDL_GetWindowDisplayMode(window, &mode) == 0 ? mode.refresh_rate : 0;
}

// Frames nothing else holds to the display's rate wait here for their turn.
void waitForFrameTurn(FramePacer& pacer, std::uint64_t frequency) {
    const std::uint64_t ticks = pacer.waitBeforeNext(SDL_GetPerformanceCounter());
    if (ticks == 0) return;
    std::this_thread::sleep_for(std::chrono::nanoseconds(ticks * 1'000'000'000ull / frequency));
}

// What the player holds this frame. Keyboard and pads both press the game's
// keys (the keyboard through the player's bindings, the pads through their
// mapping), and the game's key handling decides which presses are held; the
// key map turns those into the command the rules read.
PlayerCommand commandThisFrame(const Game& game) {
    return game.heldCommand();
}

// What draws a frame: the renderer, the play field on it and the page over it,
// and the ghost of the best run that walks the field beside the operative.
struct FrameParts {
    VulkanRenderer& renderer;
    SceneRenderer& scene;
    OverlayUI& overlay;
    GhostRun& ghost;
};

// The screens that show a game of their own instead of the player's: a
// replay being watched, and the mission editor (its preview, or its test
// play). Keys follow whichever game is shown.
struct OtherScreens {
    ReplayViewer& viewer;
    EditorSession& editor;
    InputRouter& keys;
};

// What the page shows beside the game, and the editor's marks on the field.
struct FrameExtras {
    const ReplayPageState* replay = nullptr;
    std::string_view editor;
    const EditorMarks* marks = nullptr;
};

// One presented frame. A rebuilt swapchain skips it; the next one draws normally.
void drawFrame(const FrameParts& parts, Game& game, const FrameExtras& extras) {
    if (!parts.renderer.beginFrame()) return;
    if (extras.marks) {
        parts.scene.draw(game, *extras.marks);
    } else {
        parts.scene.draw(game);
    }
    parts.overlay.renderFrame(game, extras.replay, extras.editor);
    parts.renderer.finishRecording();
    parts.renderer.submitAndPresent();
}

// While a replay is watched or a mission edited, the frame shows that game
// and the live one waits where the player left it.
void advanceAndDraw(Game& game, const OtherScreens& screens, const FrameParts& frame, float step) {
    ReplayViewer& viewer = screens.viewer;
    EditorSession& editor = screens.editor;
    if (viewer.watching()) {
        viewer.tick(step);
    } else if (editor.isOpen()) {
        editor.tick(step);
    } else {
        game.update(step, commandThisFrame(game));
        game.ghostView = frame.ghost.follow(game);
    }
    const std::optional<ReplayPageState> replay = viewer.pageState();
    Game* watched = viewer.watchedGame();
    Game* edited = watched ? nullptr : editor.shownGame();
    screens.keys.routeKeysTo(watched ? &game : edited ? editor.keyGame() : &game);
    FrameExtras extras;
    extras.replay = replay ? &*replay : nullptr;
    if (edited) {
        extras.editor = editor.pageState();
        extras.marks = editor.marks();
    }
    drawFrame(frame, watched ? *watched : edited ? *edited : game, extras);
}

void runFrames(Game& game, const OtherScreens& screens, const FrameParts& frame,
               ShellWindow& window, const CommandLine& options, const ShellInputs& inputs,
               bool paceFrames) {
    Gamepads& gamepads = *inputs.gamepads;
    FrameClock clock;
    const std::uint64_t frequency = SDL_GetPerformanceFrequency();
    const std::uint64_t started = SDL_GetPerformanceCounter();
    const double processorAtStart = processorSeconds();
    clock.start(frequency, started);
    // The self-test measures how fast frames can be drawn: it is never held back.
    FramePacer pacer;
    paceFrames = paceFrames && !options.testMode;
    if (paceFrames) pacer.start(frequency, refreshRate(window.handle()), started);
    SelfTestRun selfTest(options.frames > 0 ? options.frames : 60);
    RumbleWatcher rumbleWatcher;
    PadScript padScript;
    const bool scripted = !options.padScriptPath.empty() && padScript.load(options.padScriptPath);
    for (;;) {
        if (scripted) {
            const double seconds = static_cast<double>(SDL_GetPerformanceCounter() - started) /
                                   static_cast<double>(frequency);
            padScript.tick(seconds, game);
        }
        if (!drainEvents(window, inputs)) return;
        // The self-test counts its frames and must finish: it never sleeps.
        if (!options.testMode && !scripted && !waitWhileOutOfSight(window, inputs)) return;
        if (options.testMode) {
            const SelfTestRun::Pass pass = selfTest.nextPass();
            // Opened on a replay or in the editor, the self-test stays there.
            if (pass == SelfTestRun::Pass::StartMission && options.replayPath.empty() &&
                !screens.editor.isOpen())
                game.startOrAdvance();
            if (pass == SelfTestRun::Pass::Finish) {
                if (options.frames > 0)
                    reportFrameRate(options.frames, started, frequency, processorAtStart);
                return;
            }
        }
        const float step = clock.step(SDL_GetPerformanceCounter());
        advanceAndDraw(game, screens, frame, options.fixedStep ? kFixedStep : step);
        gamepads.rumble(rumbleWatcher.observe({game.timesSpotted, game.takedownTimer > 0.0f,
                                               game.gameState == GameState::MissionFailed}));
        if (paceFrames) waitForFrameTurn(pacer, frequency);
    }
}

// A mission or campaign file named on the command line, else the shipped
// campaign where the game's data were found.
void loadChosenCampaign(Game& game, const CommandLine& options, const GameLocation& location) {
    if (!options.missionPath.empty()) {
        for (const std::string& line : loadMissionFile(game, options.missionPath))
            std::fprintf(stderr, "%s\n", line.c_str());
        return;
    }
    if (!options.campaignPath.empty()) {
        if (loadCampaignFromDisk(game, options.campaignPath)) return;
        std::fprintf(stderr, "nightjar: %s holds no campaign the game can read; playing its own\n",
                     options.campaignPath.c_str());
    }
    game.loadFirstCampaign(location.campaignPaths());
}

int runGame(ShellWindow& window, const CommandLine& options) {
    const GameLocation location = locateGameData(executableDir(), NJ_INSTALL_DATA_DIR);
    const PlayerFiles playerFiles = PlayerFiles::forLocation(location);
    NJ3Package::instance().mount(location.packagePath());
    // The icon ships in the package, so it is set once the package is in;
    // the window is still hidden then.
    window.loadIcon();

    VulkanRenderer renderer;
    int width = 0, height = 0;
    window.drawableSize(width, height);
    WindowSurface surface = window.surface();
    if (options.swapchainOnly) surface.showPixels = nullptr;
    if (!renderer.init(surface, width, height)) {
        showErrorMessage("Vulkan Error", "Failed to initialize Vulkan hardware renderer.",
                         window.handle());
        renderer.shutdown();
        return 1;
    }
    renderer.setFrameCapture(!options.screenshotPath.empty());
    g_renderer = &renderer;

    AudioEngine audio;
    audio.init();  // without a device the game runs silent

    SceneRenderer scene(renderer);
    RendererOverlayCanvas overlayCanvas(renderer);
    int status = 0;
    {
        Game game(&audio);
        game.quitHook = requestQuit;
        // A run watched again plays in a game of its own, never this one.
        ReplayViewer viewer(game, &audio);
        // The page over the play field, made after the game and gone before
        // it; if it cannot load, the game still runs without it.
        OverlayUI overlay(&overlayCanvas, requestQuit);
        overlay.initialize(kPageWidth, kPageHeight);
        GhostRun ghost;  // before the recorder, which starts it
        const FrameParts frame{renderer, scene, overlay, ghost};
        // Missions made and tried out in the game: a preview and a test game of
        // their own.
        EditorSession editor(game, &audio);
        InputRouter keysAndPointer(game, &overlay, &renderer);
        keysAndPointer.setKeyTaker(&viewer);
        keysAndPointer.addKeyTaker(&editor);
        overlay.onReplayRequest([&viewer](ReplayRequest request, double argument) {
            viewer.request(request, argument);
        });
        overlay.onEditorRequest([&editor](std::string_view request) { editor.request(request); });
        const OtherScreens screens{viewer, editor, keysAndPointer};
        g_game = &game;
        // Controllers already plugged in are reported from here on.
        Gamepads gamepads(keysAndPointer);
        game.savePath = playerFiles.path(PlayerFile::Save);
        game.recordsPath = playerFiles.path(PlayerFile::Records);
        // Every run is recorded; the last one and each operation's best wins
        // are kept in the player's replays folder.
        RunRecorder recorder;
        // The self-test's run is nobody's: it never replaces the player's last run.
        const ReplayKeeper keeper(options.testMode ? "" : playerFiles.path(PlayerFile::Replays));
        recorder.onRunEnded = [&keeper, &viewer](RunRecord&& run) {
            viewer.keepLastRun(run);
            keeper.keep(run);
        };
        game.recorder = &recorder;
        // The player's options, before the window is first shown.
        PlayerOptions playerOptions(playerFiles.path(PlayerFile::Settings));
        playerOptions.load();
        // With GHOST on, each run (a retry too) starts the operation's best win beside it.
        recorder.onRunBegun = [&](const RunStart& start) {
            ghost.stop();
            if (playerOptions.settings().ghost) ghost.startFromKept(game, keeper, start);
        };
        OptionsShell optionsShell(playerOptions, window, audio, gamepads);
        optionsShell.onSceneChoices = [&scene, &ghost](const Settings& s) {
            // Larger text also draws the play field's own labels readable.
            scene.setAccessibility(
                {s.colourGlyphs, s.highContrastCones, s.reducedFlashing, s.textSize > 100});
            if (!s.ghost) ghost.stop();
        };
        optionsShell.start(keysAndPointer);
        game.options = &playerOptions;
        loadChosenCampaign(game, options, location);
        // The player's own missions, listed on the dossier beside the campaign.
        game.missionsFolder = playerFiles.path(PlayerFile::Missions);
        game.refreshCustomMissions();
        connectClipboard(game);

        if (!options.replayPath.empty()) viewer.watchFile(options.replayPath);
        std::string editRefusal;
        if (!options.editPath.empty() && !editor.openFile(options.editPath, editRefusal)) {
            std::fprintf(stderr, "nightjar: cannot edit %s\n", editRefusal.c_str());
            status = 1;
        }
        if (status == 0) {
            advanceAndDraw(game, screens, frame, 0.0f);
            window.show();
            runFrames(game, screens, frame, window, options,
                      {&keysAndPointer, &gamepads, &optionsShell}, !renderer.waitsForDisplay());
        }
        // Work the player never saved waits beside its file for the next time.
        editor.keepUnsavedWork();

        if (!options.screenshotPath.empty() && !renderer.saveLastFrame(options.screenshotPath)) {
            std::fprintf(stderr, "nightjar: could not save the screenshot %s\n",
                         options.screenshotPath.c_str());
            status = 1;
        }
        optionsShell.finish(!options.testMode);
        recorder.end(game, RunOutcome::Unfinished);  // a run the player quit in is the last one
        game.recorder = nullptr;
        game.options = nullptr;
        g_game = nullptr;
        g_renderer = nullptr;
        audio.stop();
        renderer.shutdown();
    }
    return status;
}

}  // namespace
}  // namespace nj

int main(int argc, char** argv) {
    const nj::CommandLine options = nj::parseCommandLine(argc, argv);
    if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0) {
        std::fprintf(stderr, "nightjar: %s\n", SDL_GetError());
        nj::showErrorMessage("Nightjar Error", "Failed to create window.", nullptr);
        return 1;
    }
    int status = 1;
    {
        nj::ShellWindow window;
        if (!window.create()) {
            std::fprintf(stderr, "nightjar: %s\n", window.error().c_str());
            nj::showErrorMessage("Nightjar Error", "Failed to create window.", nullptr);
        } else {
            status = nj::runGame(window, options);
        }
    }
    SDL_Quit();
    return status;
}
