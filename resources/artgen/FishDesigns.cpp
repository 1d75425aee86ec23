// SPDX-License-Identifier: MIT
#include "FishDesigns.h"

#include "Noise.h"

#include <cmath>

using namespace FishPatterns;
using FishShape::BodyPoint;
using FishShape::Fin;
using FishShape::FinPoint;

namespace {

Rgb Hex(std::uint32_t h) { return RgbFromHex(h); }

// The body u under a fin point, so bands and bars carry on into the fins.
float UAt(const FinPoint& p)
{
    return (p.x - FishShape::kBodyHeadX) / (FishShape::kBodyTailX - FishShape::kBodyHeadX);
}

FishSpecies Clownfish()
{
    FishSpecies s;
    s.name = "CLOWNFISH";
    s.iris = Hex(0xE0701A);
    s.body = [](const BodyPoint& p) {
        Rgb c = Countershade(Hex(0xD9480C), Hex(0xF2701C), Hex(0xF8A050), p.v);
        const Rgb white = Hex(0xFAF8F0), black = Hex(0x161412);
        const float bands[3][3] = {{0.16f, 0.055f, -0.03f}, {0.50f, 0.065f, 0.06f}, {0.905f, 0.035f, 0.0f}};
        for (const auto& b : bands) {
            c = Mix(c, black, Band(p, b[0], b[1] + 0.014f, b[2]));
            c = Mix(c, white, Band(p, b[0], b[1], b[2]));
        }
        return c;
    };
    s.fin = [](Fin f, const FinPoint& p) {
        FinLook look{Hex(0xF27020), Hex(0x1A1612), 0.72f, 0.12f, 0.22f, 11};
        if (f == Fin::Caudal)
            look.edgeStart = 0.78f;
        Rgb c = FinColor(look, f, p);
        if (f == Fin::Caudal)  // a thin white rim outside the black
            c = Mix(c, Hex(0xF4F2EC), SmoothStep(0.93f, 0.97f, p.b));
        return c;
    };
    return s;
}

FishSpecies NeonTetra()
{
    FishSpecies s;
    s.name = "NEON TETRA";
    s.iris = Hex(0x6AA8C8);
    s.body = [](const BodyPoint& p) {
        Rgb c = Countershade(Hex(0x4E4A36), Hex(0x8A9088), Hex(0xE0E4E6), p.v);
        // The red rear half under the stripe.
        const float red = SmoothStep(0.40f, 0.50f, p.u) * Stripe(p.v, 0.33f, 0.20f, 0.03f);
        c = Mix(c, Hex(0xE8202C), red);
        // The glowing stripe from the eye to the tail root.
        const float glow = Stripe(p.v, 0.60f, 0.075f, 0.015f) * (1.0f - SmoothStep(0.82f, 0.92f, p.u));
        const Rgb stripe = Mix(Hex(0x20E8FF), Hex(0x2A60FF), SmoothStep(0.1f, 0.8f, p.u));
        c = Mix(c, stripe, glow);
        return c;
    };
    s.fin = [](Fin f, const FinPoint& p) {
        FinLook look{Hex(0xC8CCC0), Hex(0xE4E8E4), 0.7f, 0.6f, 0.12f, 10};
        Rgb c = FinColor(look, f, p);
        if (f == Fin::Caudal)
            c = Mix(c, Hex(0xD83040), 0.4f * (1.0f - SmoothStep(0.0f, 0.35f, p.b)));
        return c;
    };
    return s;
}

FishSpecies Goldfish()
{
    FishSpecies s;
    s.name = "GOLDFISH";
    s.iris = Hex(0xD8A030);
    s.body = [](const BodyPoint& p) {
        Rgb c = Countershade(Hex(0xD85A00), Hex(0xF28A12), Hex(0xFFD27A), p.v);
        // A metallic sheen along the upper flank.
        c = Mix(c, Hex(0xFFD060), 0.35f * Stripe(p.v, 0.66f, 0.06f, 0.06f));
        return c;
    };
    s.fin = [](Fin f, const FinPoint& p) {
        FinLook look{Hex(0xF08418), Hex(0xFFC870), 0.55f, 0.35f, 0.3f, 16};
        if (f == Fin::Caudal)
            look.clarity = 0.45f;
        return FinColor(look, f, p);
    };
    return s;
}

// Vertical black bars at these u positions (centre, half width).
float Bars(float u, const std::vector<std::pair<float, float>>& bars, float soft)
{
    float w = 0.0f;
    for (auto [centre, half] : bars)
        w = std::max(w, 1.0f - SmoothStep(-soft, soft, std::fabs(u - centre) - half));
    return w;
}

FishSpecies Angelfish()
{
    FishSpecies s;
    s.name = "ANGELFISH";
    s.iris = Hex(0xC82020);
    static const std::vector<std::pair<float, float>> bars = {{0.05f, 0.035f}, {0.32f, 0.05f}, {0.62f, 0.035f}, {0.93f, 0.03f}};
    s.body = [](const BodyPoint& p) {
        Rgb c = Countershade(Hex(0x9C9C90), Hex(0xD4D6D4), Hex(0xF0F0EC), p.v);
        c = Mix(c, Hex(0xD8C080), 0.35f * (1.0f - SmoothStep(0.05f, 0.25f, p.u)) * SmoothStep(0.5f, 0.9f, p.v));
        return Mix(c, Hex(0x1E1E20), 0.92f * Bars(p.u, bars, 0.01f));
    };
    s.fin = [](Fin f, const FinPoint& p) {
        FinLook look{Hex(0xD0D2CE), Hex(0xE8E8E4), 0.7f, 0.4f, 0.25f, 14};
        Rgb c = FinColor(look, f, p);
        if (f == Fin::Dorsal || f == Fin::Anal || f == Fin::Pelvic)
            c = Mix(c, Hex(0x262628), 0.8f * Bars(UAt(p), bars, 0.012f));
        if (f == Fin::Caudal)  // fine dark streaks across the tail
            c = Mix(c, Hex(0x404044), 0.5f * SmoothStep(0.6f, 0.9f, std::sin(p.b * 40.0f)));
        return c;
    };
    return s;
}

FishSpecies BlueTang()
{
    FishSpecies s;
    s.name = "BLUE TANG";
    s.bits = 32;
    s.iris = Hex(0x202838);
    s.body = [](const BodyPoint& p) {
        Rgb c = Countershade(Hex(0x1036B0), Hex(0x1C58E0), Hex(0x4A86F0), p.v);
        // The dark "palette" mark: a sweep along the upper flank that loops
        // down behind the pectoral fin, holding an oval of blue.
        const float upper = Stripe(p.v, 0.72f, 0.13f, 0.02f) * SmoothStep(0.12f, 0.2f, p.u) *
                            (1.0f - SmoothStep(0.84f, 0.9f, p.u));
        const float loop = Stripe(p.v, 0.42f, 0.09f, 0.02f) * SmoothStep(0.22f, 0.3f, p.u) *
                           (1.0f - SmoothStep(0.58f, 0.66f, p.u));
        const float join = Band(p, 0.26f, 0.05f, 0.0f, 0.02f) * Stripe(p.v, 0.58f, 0.2f, 0.02f);
        const float oval = 1.0f - SmoothStep(0.9f, 1.05f, std::hypot((p.u - 0.47f) / 0.13f, (p.v - 0.6f) / 0.1f));
        const float mark = std::max({upper, loop, join}) * (1.0f - oval);
        return Mix(c, Hex(0x0E1020), 0.95f * mark);
    };
    s.fin = [](Fin f, const FinPoint& p) {
        if (f == Fin::Caudal) {
            FinLook look{Hex(0xFFD21A), Hex(0xFFE060), 0.8f, 0.1f, 0.18f, 12};
            Rgb c = FinColor(look, f, p);
            const float rim = std::max(1.0f - SmoothStep(0.05f, 0.12f, p.a), SmoothStep(0.88f, 0.95f, p.a));
            return Mix(c, Hex(0x101018), rim);
        }
        if (f == Fin::Pectoral) {
            FinLook look{Hex(0x2C60E0), Hex(0xFFD21A), 0.55f, 0.15f, 0.15f, 8};
            return FinColor(look, f, p);
        }
        FinLook look{Hex(0x1C4CD0), Hex(0x101020), 0.8f, 0.1f, 0.2f, 16};
        Rgb c = FinColor(look, f, p);
        return Mix(c, Hex(0x60C0FF), 0.7f * Stripe(p.b, 0.95f, 0.02f, 0.02f));
    };
    return s;
}

FishSpecies Koi()
{
    FishSpecies s;
    s.name = "KOI";
    s.iris = Hex(0x303030);
    s.body = [](const BodyPoint& p) {
        Rgb c = Countershade(Hex(0xE8E4DA), Hex(0xF8F6F0), Hex(0xFFFFFF), p.v);
        float red = Patches(p.x, p.z, 7.0f, 0.52f, 31, 0.02f);
        // Keep the belly white and crown the head with red.
        red *= SmoothStep(0.25f, 0.45f, p.v);
        const float crown = (1.0f - SmoothStep(0.14f, 0.2f, p.u)) * SmoothStep(0.55f, 0.62f, p.v);
        red = std::max(red, crown);
        return Mix(c, Hex(0xD8261C), red);
    };
    s.fin = [](Fin f, const FinPoint& p) {
        FinLook look{Hex(0xF4F0E8), Hex(0xFFFFFF), 0.7f, 0.35f, 0.12f, 14};
        Rgb c = FinColor(look, f, p);
        if (f == Fin::Dorsal)
            c = Mix(c, Hex(0xE04030), 0.7f * Patches(p.x, p.z, 7.0f, 0.52f, 31, 0.02f));
        return c;
    };
    return s;
}

FishSpecies ZebraDanio()
{
    FishSpecies s;
    s.name = "ZEBRA DANIO";
    s.iris = Hex(0x9AB0C8);
    s.body = [](const BodyPoint& p) {
        Rgb c = Countershade(Hex(0x8C8458), Hex(0xE8D8A0), Hex(0xF4ECD8), p.v);
        const Rgb blue = Hex(0x2A3E9C);
        float stripes = 0.0f;
        for (float centre : {0.30f, 0.45f, 0.60f, 0.75f})
            stripes = std::max(stripes, Stripe(p.v, centre, 0.042f, 0.012f));
        stripes *= SmoothStep(0.12f, 0.2f, p.u);
        return Mix(c, blue, stripes);
    };
    s.fin = [](Fin f, const FinPoint& p) {
        FinLook look{Hex(0xE8DCB0), Hex(0xF0ECDC), 0.7f, 0.35f, 0.15f, 12};
        Rgb c = FinColor(look, f, p);
        if (f == Fin::Caudal) {
            float st = 0.0f;
            for (float centre : {0.22f, 0.5f, 0.78f})
                st = std::max(st, Stripe(p.a, centre, 0.06f, 0.02f));
            c = Mix(c, Hex(0x2E44A0), 0.85f * st * (1.0f - SmoothStep(0.75f, 0.95f, p.b)));
        }
        if (f == Fin::Anal) {
            float st = std::max(Stripe(p.b, 0.35f, 0.1f, 0.04f), Stripe(p.b, 0.7f, 0.1f, 0.04f));
            c = Mix(c, Hex(0x2E44A0), 0.8f * st);
        }
        return c;
    };
    return s;
}

FishSpecies Dalmatian()
{
    FishSpecies s;
    s.name = "DALMATIAN MOLLY";
    s.bits = 8;
    s.zeroPaletteCount = true;
    s.iris = Hex(0x505050);
    s.body = [](const BodyPoint& p) {
        Rgb c = Countershade(Hex(0xD8D8D2), Hex(0xF0F0EA), Hex(0xFCFCF8), p.v);
        const float spots = Spots(p.x, p.z, 0.07f, 0.3f, 77, 0.5f, 0.004f);
        return Mix(c, Hex(0x18181A), spots);
    };
    s.fin = [](Fin f, const FinPoint& p) {
        FinLook look{Hex(0xE8E8E2), Hex(0xF4F4F0), 0.7f, 0.3f, 0.15f, 12};
        Rgb c = FinColor(look, f, p);
        return Mix(c, Hex(0x202022), 0.9f * Spots(p.x, p.z, 0.06f, 0.25f, 78, 0.5f, 0.004f));
    };
    return s;
}

FishSpecies TigerBarb()
{
    FishSpecies s;
    s.name = "TIGER BARB";
    s.iris = Hex(0xD04020);
    static const std::vector<std::pair<float, float>> bars = {{0.04f, 0.035f}, {0.30f, 0.055f}, {0.60f, 0.045f}, {0.92f, 0.03f}};
    s.body = [](const BodyPoint& p) {
        Rgb c = Countershade(Hex(0x8A6A22), Hex(0xEAB848), Hex(0xF6E2B8), p.v);
        c = Mix(c, Hex(0xE05030), 0.55f * (1.0f - SmoothStep(0.0f, 0.08f, p.u)));  // red snout
        float bar = Bars(p.u, bars, 0.01f);
        if (p.u > 0.5f && p.u < 0.75f)  // the third bar stops short of the belly
            bar *= SmoothStep(0.3f, 0.42f, p.v);
        return Mix(c, Hex(0x141414), 0.95f * bar);
    };
    s.fin = [](Fin f, const FinPoint& p) {
        FinLook look{Hex(0xE8C070), Hex(0xE03020), 0.7f, 0.2f, 0.2f, 10};
        if (f == Fin::Dorsal)
            look.color = Hex(0x181818);
        if (f == Fin::Pelvic)
            look.color = Hex(0xE04028);
        return FinColor(look, f, p);
    };
    return s;
}

FishSpecies Betta()
{
    FishSpecies s;
    s.name = "BETTA";
    s.bits = 32;
    s.iris = Hex(0x301818);
    s.body = [](const BodyPoint& p) {
        Rgb c = Countershade(Hex(0x800818), Hex(0xB81024), Hex(0xC83040), p.v);
        const float sheen = Patches(p.x, p.z, 9.0f, 0.5f, 91, 0.08f) * (1.0f - SmoothStep(0.3f, 0.8f, p.u));
        return Mix(c, Hex(0x3A5CE0), 0.6f * sheen);
    };
    s.fin = [](Fin f, const FinPoint& p) {
        FinLook look{Hex(0xB01020), Hex(0x600818), 0.8f, 0.12f, 0.35f, 18};
        Rgb c = FinColor(look, f, p);
        const float streak = std::pow(0.5f + 0.5f * std::cos(6.2831853f * (p.a * 18.0f + 0.5f)), 6.0f);
        return Mix(c, Hex(0x4878F0), 0.45f * streak * SmoothStep(0.1f, 0.6f, p.b));
    };
    return s;
}

FishSpecies RainbowTrout()
{
    FishSpecies s;
    s.name = "RAINBOW TROUT";
    s.iris = Hex(0xC8A040);
    s.body = [](const BodyPoint& p) {
        Rgb c = Countershade(Hex(0x4E5C30), Hex(0xB8BCA8), Hex(0xF4F2EC), p.v);
        c = Mix(c, Hex(0xE06A8A), Stripe(p.v, 0.5f, 0.07f, 0.05f) * SmoothStep(0.05f, 0.15f, p.u));
        const float speckles = Spots(p.x, p.z, 0.03f, 0.2f, 101, 0.4f, 0.002f) * SmoothStep(0.4f, 0.6f, p.v);
        return Mix(c, Hex(0x1A1A14), 0.9f * speckles);
    };
    s.fin = [](Fin f, const FinPoint& p) {
        FinLook look{Hex(0x9CA080), Hex(0xC8C4A8), 0.7f, 0.25f, 0.2f, 12};
        Rgb c = FinColor(look, f, p);
        if (f == Fin::Dorsal || f == Fin::Caudal)
            c = Mix(c, Hex(0x1A1A14), 0.9f * Spots(p.x, p.z, 0.028f, 0.2f, 102, 0.4f, 0.002f));
        return c;
    };
    return s;
}

FishSpecies Mandarin()
{
    FishSpecies s;
    s.name = "MANDARIN";
    s.iris = Hex(0xE07020);
    s.body = [](const BodyPoint& p) {
        const Rgb orange = Countershade(Hex(0xD85010), Hex(0xF07A20), Hex(0xF8A048), p.v);
        const float w = std::sin(p.x * 55.0f + 3.0f * std::sin(p.z * 30.0f) + 2.0f * Noise::Value(p.x * 20.0f, p.z * 20.0f, 111));
        const float blue = SmoothStep(0.35f, 0.55f, w);
        return Mix(orange, Mix(Hex(0x1870D0), Hex(0x30C0D0), 0.5f + 0.5f * std::sin(p.z * 20.0f)), blue);
    };
    s.fin = [](Fin f, const FinPoint& p) {
        FinLook look{Hex(0xF07A20), Hex(0x1A6AD0), 0.6f, 0.15f, 0.2f, 10};
        Rgb c = FinColor(look, f, p);
        const float w = std::sin(p.b * 22.0f + 3.0f * p.a);
        return Mix(c, Hex(0x1870D0), 0.8f * SmoothStep(0.5f, 0.7f, w) * (1.0f - SmoothStep(0.6f, 0.8f, p.b)));
    };
    return s;
}

FishSpecies YellowTang()
{
    FishSpecies s;
    s.name = "YELLOW TANG";
    s.bits = 8;
    s.paletteColours = 96;
    s.iris = Hex(0x181818);
    s.body = [](const BodyPoint& p) {
        Rgb c = Countershade(Hex(0xF2C200), Hex(0xFFDC14), Hex(0xFFEA70), p.v);
        const float spine = 1.0f - SmoothStep(0.9f, 1.1f, std::hypot((p.u - 0.93f) / 0.03f, (p.v - 0.52f) / 0.1f));
        return Mix(c, Hex(0xFFFFF4), spine);
    };
    s.fin = [](Fin f, const FinPoint& p) {
        FinLook look{Hex(0xFFD810), Hex(0xFFE860), 0.75f, 0.1f, 0.15f, 14};
        return FinColor(look, f, p);
    };
    return s;
}

FishSpecies Discus()
{
    FishSpecies s;
    s.name = "DISCUS";
    s.iris = Hex(0xD02818);
    s.body = [](const BodyPoint& p) {
        // A turquoise discus: blue-green with wavy red-brown lines.
        Rgb c = Countershade(Hex(0x1A8CA0), Hex(0x2CC4D0), Hex(0x8AE4E0), p.v);
        const float wave = p.v * 8.0f + 0.35f * std::sin(p.u * 18.0f + p.v * 4.0f);
        const float line = std::pow(0.5f + 0.5f * std::cos(6.2831853f * wave), 4.0f);
        c = Mix(c, Hex(0xB04A22), 0.9f * line * SmoothStep(0.08f, 0.2f, p.u));
        return Mix(c, Hex(0x204050), 0.25f * Bars(std::fmod(p.u, 0.11f), {{0.055f, 0.012f}}, 0.01f));
    };
    s.fin = [](Fin f, const FinPoint& p) {
        FinLook look{Hex(0x2CB0C0), Hex(0xD84A20), 0.8f, 0.15f, 0.15f, 16};
        Rgb c = FinColor(look, f, p);
        if (f == Fin::Dorsal || f == Fin::Anal) {
            const float line = std::pow(0.5f + 0.5f * std::cos(6.2831853f * (p.b * 4.0f + 0.2f * std::sin(p.a * 12.0f))), 3.0f);
            c = Mix(c, Hex(0xB04A22), 0.8f * line * (1.0f - SmoothStep(0.7f, 0.85f, p.b)));
        }
        return c;
    };
    return s;
}

FishSpecies MoorishIdol()
{
    FishSpecies s;
    s.name = "MOORISH IDOL";
    s.iris = Hex(0xE0C020);
    s.body = [](const BodyPoint& p) {
        Rgb c = Countershade(Hex(0xE0E0D8), Hex(0xF6F6F0), Hex(0xFFFFFC), p.v);
        c = Mix(c, Hex(0xFFD21E), Band(p, 0.76f, 0.11f, -0.02f, 0.01f));
        c = Mix(c, Hex(0xF08020), 0.8f * (1.0f - SmoothStep(0.0f, 0.06f, p.u)) * SmoothStep(0.55f, 0.65f, p.v));
        c = Mix(c, Hex(0x141416), Band(p, 0.12f, 0.075f, 0.02f, 0.008f));
        c = Mix(c, Hex(0x141416), Band(p, 0.45f, 0.1f, -0.03f, 0.008f));
        return c;
    };
    s.fin = [](Fin f, const FinPoint& p) {
        FinLook look{Hex(0xF4F4EE), Hex(0xFFFFFF), 0.8f, 0.2f, 0.12f, 10};
        Rgb c = FinColor(look, f, p);
        const float u = UAt(p);
        if (f == Fin::Caudal)
            return Mix(Hex(0x161618), Hex(0xF4F4EE), SmoothStep(0.82f, 0.9f, p.b));
        if (f == Fin::Dorsal || f == Fin::Anal) {
            const float black = 1.0f - SmoothStep(0.05f, 0.1f, std::fabs(u - 0.45f) - 0.06f);
            c = Mix(c, Hex(0x161618), black);
            c = Mix(c, Hex(0xFFD21E), 0.9f * SmoothStep(0.6f, 0.7f, u) * (1.0f - SmoothStep(0.4f, 0.6f, p.b)));
        }
        if (f == Fin::Pelvic)
            c = Mix(c, Hex(0x161618), 0.9f);
        return c;
    };
    return s;
}

FishSpecies Guppy()
{
    FishSpecies s;
    s.name = "GUPPY";
    s.iris = Hex(0xA0A8B0);
    s.body = [](const BodyPoint& p) {
        Rgb c = Countershade(Hex(0x6E7460), Hex(0xA8AE98), Hex(0xE4E4DC), p.v);
        const float rear = SmoothStep(0.45f, 0.6f, p.u);
        c = Mix(c, Hex(0xF07020), rear * Spots(p.x, p.z, 0.09f, 0.3f, 151, 0.4f, 0.004f));
        c = Mix(c, Hex(0x2A70E0), rear * Spots(p.x, p.z, 0.08f, 0.22f, 152, 0.3f, 0.004f));
        return c;
    };
    s.fin = [](Fin f, const FinPoint& p) {
        if (f == Fin::Caudal || f == Fin::Dorsal) {
            Rgb c = Mix(Hex(0xF04A18), Hex(0xFFD030), SmoothStep(0.3f, 0.95f, p.b));
            c = Mix(c, Hex(0x1A3AB0), 0.9f * Spots(p.x, p.z, 0.05f, 0.28f, 153, 0.4f, 0.003f));
            c = Mix(c, Hex(0x141414), 0.8f * Spots(p.x, p.z, 0.037f, 0.18f, 154, 0.4f, 0.003f));
            const float ray = std::pow(0.5f + 0.5f * std::cos(6.2831853f * p.a * 16.0f), 8.0f);
            return Shade(c, -0.2f * ray);
        }
        FinLook look{Hex(0xB0B4A4), Hex(0xD0D4C8), 0.7f, 0.5f, 0.12f, 8};
        return FinColor(look, f, p);
    };
    return s;
}

FishSpecies Swordtail()
{
    FishSpecies s;
    s.name = "SWORDTAIL";
    s.iris = Hex(0xD0A030);
    s.body = [](const BodyPoint& p) {
        Rgb c = Countershade(Hex(0x2E7A34), Hex(0x6CCB4E), Hex(0xE8F4B8), p.v);
        const float zig = 0.5f + 0.012f * std::sin(p.u * 60.0f);
        c = Mix(c, Hex(0xE02020), Stripe(p.v, zig, 0.045f, 0.01f) * SmoothStep(0.0f, 0.05f, p.u));
        return c;
    };
    s.fin = [](Fin f, const FinPoint& p) {
        FinLook look{Hex(0x9CC070), Hex(0xE8E890), 0.7f, 0.35f, 0.15f, 12};
        Rgb c = FinColor(look, f, p);
        if (f == Fin::Caudal) {
            // The "sword": the lower lobe edged in black around a yellow core.
            const float sword = 1.0f - SmoothStep(0.2f, 0.26f, p.a);
            c = Mix(c, Hex(0xF8D830), sword);
            c = Mix(c, Hex(0x141414), 1.0f - SmoothStep(0.04f, 0.08f, p.a));
            c = Mix(c, Hex(0x141414), Stripe(p.a, 0.23f, 0.015f, 0.01f));
        }
        return c;
    };
    return s;
}

FishSpecies CoralGrouper()
{
    FishSpecies s;
    s.name = "CORAL GROUPER";
    s.iris = Hex(0xC03020);
    s.body = [](const BodyPoint& p) {
        Rgb c = Countershade(Hex(0xA01C18), Hex(0xD83A28), Hex(0xF07860), p.v);
        float centre = 0.0f;
        const float ring = RingSpots(p.x, p.z, 0.04f, 0.3f, 171, centre);
        c = Mix(c, Hex(0x10305A), 0.7f * ring);
        return Mix(c, Hex(0x40B8FF), centre);
    };
    s.fin = [](Fin f, const FinPoint& p) {
        FinLook look{Hex(0xD03424), Hex(0xB02018), 0.8f, 0.15f, 0.18f, 12};
        Rgb c = FinColor(look, f, p);
        c = Mix(c, Hex(0x40B8FF), Spots(p.x, p.z, 0.035f, 0.2f, 172, 0.3f, 0.002f));
        if (f == Fin::Caudal)
            c = Mix(c, Hex(0xF4F0F0), SmoothStep(0.9f, 0.96f, p.b));
        return c;
    };
    return s;
}

FishSpecies RoyalGramma()
{
    FishSpecies s;
    s.name = "ROYAL GRAMMA";
    s.iris = Hex(0xF0D020);
    s.body = [](const BodyPoint& p) {
        const Rgb purple = Countershade(Hex(0x7A1C9C), Hex(0xA434C8), Hex(0xC060D8), p.v);
        const Rgb yellow = Countershade(Hex(0xF0B010), Hex(0xFFC820), Hex(0xFFDC60), p.v);
        const float split = 0.52f + 0.08f * std::sin(p.v * 5.0f);
        Rgb c = Mix(purple, yellow, SmoothStep(split - 0.05f, split + 0.05f, p.u));
        // A thin yellow line through the eye.
        const float line = Stripe(p.v, 0.58f + 0.9f * p.u, 0.018f, 0.008f) * (1.0f - SmoothStep(0.05f, 0.1f, p.u));
        return Mix(c, Hex(0xFFE040), line);
    };
    s.fin = [](Fin f, const FinPoint& p) {
        const float u = UAt(p);
        const Rgb base = Mix(Hex(0xA434C8), Hex(0xFFC820), SmoothStep(0.45f, 0.6f, u));
        FinLook look{base, Shade(base, 0.3f), 0.7f, 0.2f, 0.15f, 12};
        Rgb c = FinColor(look, f, p);
        if (f == Fin::Dorsal) {
            const float spot = 1.0f - SmoothStep(0.8f, 1.0f, std::hypot((p.a - 0.1f) / 0.08f, (p.b - 0.45f) / 0.25f));
            c = Mix(c, Hex(0x141018), spot);
        }
        if (f == Fin::Caudal)
            c = Mix(Hex(0xFFC820), Hex(0xFFE070), SmoothStep(0.4f, 1.0f, p.b));
        return c;
    };
    return s;
}

FishSpecies TigerOscar()
{
    FishSpecies s;
    s.name = "TIGER OSCAR";
    s.iris = Hex(0xE04020);
    s.body = [](const BodyPoint& p) {
        Rgb c = Countershade(Hex(0x1E1A16), Hex(0x36302A), Hex(0x4A4036), p.v);
        const float n = Noise::Fractal(p.x * 9.0f + 4.0f, p.z * 9.0f, 191, 4);
        const float marble = SmoothStep(0.08f, 0.02f, std::fabs(n - 0.5f)) + 0.6f * SmoothStep(0.62f, 0.7f, n);
        c = Mix(c, Hex(0xE85A24), Clamp01(marble) * SmoothStep(0.15f, 0.35f, p.v));
        // The eye spot on the tail root.
        const float d = std::hypot((p.u - 0.93f) / 0.05f, (p.v - 0.6f) / 0.22f);
        c = Mix(c, Hex(0xF07020), 1.0f - SmoothStep(0.9f, 1.0f, d));
        return Mix(c, Hex(0x101010), 1.0f - SmoothStep(0.5f, 0.6f, d));
    };
    s.fin = [](Fin f, const FinPoint& p) {
        FinLook look{Hex(0x2E2824), Hex(0x4A3C30), 0.7f, 0.2f, 0.3f, 14};
        Rgb c = FinColor(look, f, p);
        if (f == Fin::Dorsal)
            c = Mix(c, Hex(0xD85020), 0.5f * Spots(p.x, p.z, 0.05f, 0.25f, 192, 0.3f, 0.003f));
        return c;
    };
    return s;
}

}  // namespace

const std::vector<FishSpecies>& AllSpecies()
{
    static const std::vector<FishSpecies> species = {
        Clownfish(), NeonTetra(), Goldfish(),  Angelfish(),   BlueTang(),     Koi(),         ZebraDanio(),
        Dalmatian(), TigerBarb(), Betta(),     RainbowTrout(), Mandarin(),    YellowTang(),  Discus(),
        MoorishIdol(), Guppy(),   Swordtail(), CoralGrouper(), RoyalGramma(), TigerOscar(),
    };
    return species;
}
