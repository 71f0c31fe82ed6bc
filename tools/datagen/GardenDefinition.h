// A garden as written by hand in data/gardens/garden<N>.json: the ground's
// look, the road as control points of a smooth path, and the decorations.
// The picture, the road steps and the ground map are all made from one
// definition, so they agree.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct GardenColour {
    double r = 0.0, g = 0.0, b = 0.0;  // 0..1
};

struct GardenVec {
    double x = 0.0, y = 0.0;  // board units, -1..1 across the board, y down
};

struct GardenGroundDef {
    GardenColour colour, dark, light;
    double stripe_width = 0.0;  // mowing stripes; 0 for none
    double stripe_angle = 0.0;  // degrees
    int blades = 0;             // short grass strokes over the whole picture
    // Shades of grass blades: the strokes above, tufts and a grassy road edge.
    GardenColour blade_dark, blade_light;
};

struct GardenRoadDef {
    std::string surface;  // "dirt", "sand", "paving" or "gravel"
    GardenColour colour, dark, light;
    std::string edge;     // "grass", "stones" or "bricks": what lines the road
    GardenColour edge_colour;
    double edge_width = 0.0;
    double half_width = 0.0;
    double step_length = 0.0;
    // Cells this far beyond the road's edge are blocked as well, so that no
    // weapon sits on the edge stones.
    double margin = 0.0;
    std::vector<GardenVec> points;
};

// A decoration placed by hand. Nothing may be built on it: its footprint,
// the ellipse of radii (radius, radius_y) turned by angle, is blocked in the
// ground map.
struct GardenDecoration {
    std::string kind;  // tree, bush, rock, pond, bed, stump, pumpkin, birdbath, pot, leaves
    GardenVec at;
    double radius = 0.0;
    double radius_y = 0.0;  // defaults to radius
    double angle = 0.0;     // degrees
    std::vector<GardenColour> colours;  // kind-specific; empty for the kind's own
};

// Small things strewn over the ground at random (seeded) places; never on
// the road, never blocking.
struct GardenScatter {
    std::string kind;  // daisy, flower, clover, pebble, leaf, tuft
    int count = 0;
    double size = 0.0;
    std::vector<GardenColour> colours;
};

struct GardenDefinition {
    int number = 0;
    std::string name;
    uint64_t seed = 0;
    // The game's target window for this garden, in steps from the road's
    // start and from its end; the road must stay on the board in between.
    int target_start = 0;
    int target_end = 0;
    GardenGroundDef ground;
    GardenRoadDef road;
    std::vector<GardenDecoration> decorations;
    std::vector<GardenScatter> scatter;
};

// Reads and checks one definition file; on failure `error` says what and
// where.
bool GardenDefinitionLoad(const std::string &path, GardenDefinition *garden, std::string *error);
