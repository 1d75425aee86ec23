// SPDX-License-Identifier: MIT
#pragma once

#include "fish/FishModel.h"

struct FishDrawPose;

// Draws fish from the poses their behaviour steps produced, with the one
// shared fish model. Every draw leaves the GL matrix stack as it found it.
class ScreenBounds;

class FishRenderer {
public:
    // The fish at its pose's position, with `texture` bound (its species).
    void Draw(const FishDrawPose& pose, unsigned texture);

    // The fish with the current matrix already at its position: the model
    // stood up (its z becomes the world's up), pitched about the axis across
    // its heading, then bent and drawn.
    void DrawAtPosition(const FishDrawPose& pose);

    // nullptr: draw with OpenGL (see FishModel::SetVertexSink).
    void SetVertexSink(FishVertexSink* sink) { m_model.SetVertexSink(sink); }

    // While set, every fish drawn adds the window rectangle around it.
    void SetBounds(ScreenBounds* bounds) { m_bounds = bounds; }

    // See FishModel::SetCullHiddenBodyFaces.
    void SetCullHiddenBodyFaces(bool on) { m_model.SetCullHiddenBodyFaces(on); }
    // See FishModel::SetIndexedDraw.
    void SetIndexedDraw(bool on) { m_model.SetIndexedDraw(on); }

private:
    FishModel m_model;
    ScreenBounds* m_bounds = nullptr;
};
