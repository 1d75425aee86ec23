#pragma once

#include "fish/FeedPicker.h"
#include "fish/Fish.h"
#include "fish/FishSchool.h"
#include "fish/FoodFlake.h"
#include "fish/PickStrips.h"
#include "view/scene/CommandCodes.h"
#include "view/scene/TankBox.h"

#include <memory>

class RippleGrid;

// The aquarium scene: everything the view draws and animates, with no window
// system in it. The host window creates a GL context, makes it current and
// then calls InitScene once and RenderFrame on every tick; it forwards mouse
// events and acts on what PollCommand and HandOverMusic return.
//
// Units: screen sizes and mouse positions in pixels (client area, origin top
// left); everything in the scene in world units and degrees; every speed is
// per frame.
class AquariumScene {
public:
    // What the host must do after a tick's command poll.
    enum class TickAction { None, ShowMusicDialog, ShowImageDialog, Exit };
    // What the host must do with the built-in tune after a frame.
    enum class MusicAction { None, StopBuiltin, RestartBuiltin };

    AquariumScene();
    ~AquariumScene();
    AquariumScene(const AquariumScene&) = delete;
    AquariumScene& operator=(const AquariumScene&) = delete;

    // Screen metrics (the screen, not the window): classifies the size into
    // m_resolutionIndex. Called by the host before InitScene.
    void SetScreenSize(int width, int height);

    // Builds the scene in the current GL context: fixed GL state, tank box,
    // temp-directory check, built-in art, settings, fish, ripple, flakes,
    // fog. Returns false when it stopped early (the temp directory is
    // missing); the message has then been shown.
    bool InitScene();

    // Draws one whole frame into the current context, advancing every
    // animated object by one frame. Does not swap.
    void RenderFrame();

    // Called by the host when the window is resized (pixels).
    void Resize(int width, int height);

    // Copies the control bar's command into m_mode and tells the host what to
    // do. Dialog codes become CMD_NONE in both the command and the mode.
    TickAction PollCommand(int& command);

    // The built-in tune follows the user's music: silent while that is on,
    // restarted exactly once after it goes off.
    MusicAction HandOverMusic();

    // Mouse handlers (client pixels).
    void OnLeftButtonDown(int x, int y);
    void OnLeftButtonUp(int x, int y);
    void OnMouseMove(int x, int y);

    // The cursor resource id for the current mode and button state, or 0 when
    // the mode has no cursor of its own.
    int ModeCursorId() const;

    // The Custom Background dialog's current picture (a texture name, 0 for
    // none), shown instead of the built-in one while ownImageOn is set.
    void SetCustomImageTexture(unsigned texture) { m_customImageTexture = texture; }

    // Drops a flake at the world point (x, y - 2, drop depth) into the first free
    // slot. Returns the slot, or -1 when all ten are in use (the drop is
    // then used up without a flake).
    int DropFlake(float x, float y);

    int Mode() const { return m_mode; }
    const TankBox& Tank() const { return m_tank; }
    int ScreenWidth() const { return m_screenWidth; }
    int ScreenHeight() const { return m_screenHeight; }
    int ResolutionIndex() const { return m_resolutionIndex; }
    bool ButtonDown() const { return m_buttonDown; }
    bool FeedClickPending() const { return m_feedClickPending; }
    Fish& FishAt(int slot) { return m_fish[slot]; }
    FoodFlake& FlakeAt(int slot) { return m_flakes[slot]; }
    const PickStrips& Strips() const { return m_pickStrips; }
    const FeedPicker& Feeder() const { return m_feedPicker; }

    static constexpr float kEyeOffset = -5.0f;   // added to the camera's z
    static constexpr float kEyeZ = 0.0f + kEyeOffset - 5.0f;  // the camera's z
    static constexpr float kFrustumK = 0.4f;     // half height of the near plane

private:
    void SetFixedGlState();
    void SetupFog();
    void ApplyProjectionAndCamera();
    void ApplyLight();
    void ApplyFog();
    void DrawBackdropPass();
    void DrawFishPasses();
    void DrawBackgroundPicture();
    void DrawFood();
    void FeedModePass();
    void FishPickPass();

    int m_screenWidth = 1680;
    int m_screenHeight = 1050;
    int m_resolutionIndex = 1;
    TankBox m_tank;

    int m_mode = CMD_FEED;
    int m_mouseX = 0;
    int m_mouseY = 0;
    bool m_buttonDown = false;
    bool m_feedClickPending = false;

    unsigned m_backgroundTexture = 0;
    unsigned m_customImageTexture = 0;
    std::unique_ptr<RippleGrid> m_pRipple;
    unsigned m_fishTextures[20] = {};
    // The fish slots: the first N are active (N the sum of the species
    // counts); the others keep their state until they are active again.
    Fish m_fish[20];
    FishSchool m_fishSchool;   // position snapshots for the separation pass
    FoodFlake m_flakes[FoodFlake::kSlots];
    PickStrips m_pickStrips;
    FeedPicker m_feedPicker;   // the coordinates of a pending feed click held so far

    float m_lightAmbient[4] = {1, 1, 1, 1};
    float m_lightDiffuse[4] = {1, 1, 1, 1};
};
