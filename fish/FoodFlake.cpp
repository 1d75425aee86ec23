#include "fish/FoodFlake.h"

#include "platform/MsvcRandom.h"

#include <GL/gl.h>
#include <cmath>

namespace {

constexpr float kLargestRand = 32767.0f;
constexpr int kFanVertices = 500;
constexpr float kFanStep = 0.01256637f;  // 2 pi / 500
// The flake's 0.6 x 0.3 ellipse was sized for drops 60 units from the eye;
// they now fall 80 units away, among the fish, so the shape is scaled by
// 80 / 60 to look as large on screen as it was meant to.
constexpr float kShapeScale = 80.0f / 60.0f;
constexpr float kSunkDepth = -10.0f;     // offset y at which an uneaten flake ends
constexpr float kHangBelow = 0.2f;       // the drawn flake hangs this far below its offset

// (r() - r()) * scale / 32767: a symmetric random amount within +-scale.
float Jitter(float scale)
{
    const int a = Rand();
    const int b = Rand();
    return float(a - b) * scale / kLargestRand;
}

}  // namespace

FoodFlake::FoodFlake() = default;
FoodFlake::~FoodFlake() = default;

void FoodFlake::CompileShape()
{
    if (m_list == 0)
        m_list = glGenLists(1);
    glNewList(m_list, GL_COMPILE);
    glDisable(GL_TEXTURE_2D);
    glColor3ub(243, 225, 159);
    glBegin(GL_TRIANGLE_FAN);
    for (int i = 0; i < kFanVertices; ++i) {
        const float a = float(i) * kFanStep;
        glVertex3f(kShapeScale * 0.3f * std::cos(a), kShapeScale * 0.15f * std::sin(a), 0.0f);
    }
    glEnd();
    glColor3ub(255, 255, 255);
    glEnable(GL_TEXTURE_2D);
    glEndList();
}

void FoodFlake::Reset()
{
    m_offset[0] = Jitter(1.38f);
    m_offset[1] = 1.0f;
    m_offset[2] = Jitter(0.38f);
    m_tilt = Jitter(180.0f);
    m_spin = Jitter(180.0f);
    m_spin += Jitter(180.0f);
    m_sinkSpeed = 0.005f + 0.0005f * float(Rand() % 10);
    m_alive = 1.0f;
    m_world[0] = m_world[1] = m_world[2] = 0.0f;
}

void FoodFlake::Drop(float x, float y, float z)
{
    m_anchor[0] = x;
    m_anchor[1] = y;
    m_anchor[2] = z;
    Reset();
    m_active = true;
}

void FoodFlake::UpdateAndDraw()
{
    glTranslatef(m_anchor[0], m_anchor[1], m_anchor[2]);
    glPushMatrix();
    if (Alive())
        Draw();
    glPopMatrix();
    if (!Alive())
        m_active = false;
    Step();
}

void FoodFlake::Draw()
{
    const float hangY = m_offset[1] - kHangBelow;
    glPushMatrix();
    glRotatef(m_spin, 0.0f, 1.0f, 0.0f);
    glTranslatef(m_offset[0], hangY, m_offset[2]);
    glRotatef(m_tilt, 1.0f, 0.0f, 0.0f);
    glCallList(m_list);
    glPopMatrix();
    // The fish aim at the unspun position.
    m_world[0] = m_anchor[0] + m_offset[0];
    m_world[1] = m_anchor[1] + hangY;
    m_world[2] = m_anchor[2] + m_offset[2];
}

void FoodFlake::Step()
{
    if (m_offset[1] > kSunkDepth) {
        m_offset[0] += Jitter(0.002f);
        m_offset[2] += Jitter(0.002f);
        m_offset[1] -= m_sinkSpeed;
        m_tilt += 0.4f;
        m_spin += 2.0f;
        return;
    }
    m_offset[1] = -40.0f;
    m_tilt -= float(Rand()) * 0.2f / kLargestRand;
    m_spin += float(Rand()) * 1.0f / kLargestRand;
    m_alive = 0.0f;
}

void FoodFlake::Eat(float dx, float dy)
{
    m_offset[0] += dx;
    m_offset[1] += dy;
    m_alive = 0.0f;
}
