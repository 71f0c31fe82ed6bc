#include "tools/datagen/GardenDefinition.h"

#include <nlohmann/json.hpp>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <sstream>

using json = nlohmann::json;

namespace {

// Field readers. Each throws DefinitionError naming the field; the loader
// turns that into its error text, so no exception leaves this file.
struct DefinitionError {
    std::string text;
};

const json &Field(const json &object, const char *name, const std::string &where)
{
    if (!object.is_object() || !object.contains(name))
        throw DefinitionError{where + ": missing \"" + name + "\""};
    return object.at(name);
}

double Number(const json &object, const char *name, const std::string &where)
{
    const json &v = Field(object, name, where);
    if (!v.is_number() || !std::isfinite(v.get<double>()))
        throw DefinitionError{where + ": \"" + name + "\" must be a number"};
    return v.get<double>();
}

double NumberOr(const json &object, const char *name, double fallback, const std::string &where)
{
    return object.contains(name) ? Number(object, name, where) : fallback;
}

int Integer(const json &object, const char *name, const std::string &where)
{
    const json &v = Field(object, name, where);
    if (!v.is_number_integer())
        throw DefinitionError{where + ": \"" + name + "\" must be a whole number"};
    return v.get<int>();
}

std::string Text(const json &object, const char *name, const std::string &where)
{
    const json &v = Field(object, name, where);
    if (!v.is_string())
        throw DefinitionError{where + ": \"" + name + "\" must be a text"};
    return v.get<std::string>();
}

std::string OneOf(const json &object, const char *name, const std::vector<std::string> &allowed,
                  const std::string &where)
{
    std::string value = Text(object, name, where);
    for (const std::string &a : allowed)
        if (value == a)
            return value;
    throw DefinitionError{where + ": \"" + name + "\" may not be \"" + value + "\""};
}

GardenColour ColourOf(const json &v, const std::string &where)
{
    std::string text = v.is_string() ? v.get<std::string>() : "";
    unsigned rgb = 0;
    if (text.size() != 7 || text[0] != '#' || sscanf(text.c_str() + 1, "%6x", &rgb) != 1)
        throw DefinitionError{where + ": colours are written \"#rrggbb\""};
    return GardenColour{((rgb >> 16) & 255) / 255.0, ((rgb >> 8) & 255) / 255.0, (rgb & 255) / 255.0};
}

GardenColour Colour(const json &object, const char *name, const std::string &where)
{
    return ColourOf(Field(object, name, where), where + " \"" + name + "\"");
}

std::vector<GardenColour> Colours(const json &object, const std::string &where)
{
    std::vector<GardenColour> colours;
    if (!object.contains("colours"))
        return colours;
    const json &list = object.at("colours");
    if (!list.is_array())
        throw DefinitionError{where + ": \"colours\" must be a list"};
    for (const json &c : list)
        colours.push_back(ColourOf(c, where + " \"colours\""));
    return colours;
}

GardenVec Point(const json &v, const std::string &where)
{
    if (!v.is_array() || v.size() != 2 || !v[0].is_number() || !v[1].is_number())
        throw DefinitionError{where + ": points are written [x, y]"};
    GardenVec p{v[0].get<double>(), v[1].get<double>()};
    if (!std::isfinite(p.x) || !std::isfinite(p.y) || std::fabs(p.x) > 2.0 || std::fabs(p.y) > 2.0)
        throw DefinitionError{where + ": point out of range"};
    return p;
}

void Positive(double value, const char *name, const std::string &where)
{
    if (!(value > 0.0))
        throw DefinitionError{where + ": \"" + name + "\" must be above 0"};
}

void ReadGround(const json &g, GardenGroundDef *ground)
{
    const std::string where = "ground";
    ground->colour = Colour(g, "colour", where);
    ground->dark = Colour(g, "dark", where);
    ground->light = Colour(g, "light", where);
    ground->stripe_width = NumberOr(g, "stripe_width", 0.0, where);
    ground->stripe_angle = NumberOr(g, "stripe_angle", 0.0, where);
    ground->blades = g.contains("blades") ? Integer(g, "blades", where) : 0;
    if (ground->blades < 0 || ground->blades > 200000 || ground->stripe_width < 0.0)
        throw DefinitionError{where + ": \"blades\" or \"stripe_width\" out of range"};
    ground->blade_dark = Colour(g, "blade_dark", where);
    ground->blade_light = Colour(g, "blade_light", where);
}

void ReadRoad(const json &r, GardenRoadDef *road)
{
    const std::string where = "road";
    road->surface = OneOf(r, "surface", {"dirt", "sand", "paving", "gravel"}, where);
    road->colour = Colour(r, "colour", where);
    road->dark = Colour(r, "dark", where);
    road->light = Colour(r, "light", where);
    road->edge = OneOf(r, "edge", {"grass", "stones", "bricks"}, where);
    road->edge_colour = Colour(r, "edge_colour", where);
    road->edge_width = Number(r, "edge_width", where);
    road->half_width = Number(r, "half_width", where);
    road->step_length = Number(r, "step_length", where);
    road->margin = Number(r, "margin", where);
    Positive(road->half_width, "half_width", where);
    Positive(road->step_length, "step_length", where);
    if (road->edge_width < 0.0 || road->margin < 0.0)
        throw DefinitionError{where + ": \"edge_width\" and \"margin\" may not be negative"};
    const json &points = Field(r, "points", where);
    if (!points.is_array() || points.size() < 2)
        throw DefinitionError{where + ": \"points\" needs at least two points"};
    for (const json &p : points)
        road->points.push_back(Point(p, where + " \"points\""));
}

void ReadDecorations(const json &list, std::vector<GardenDecoration> *decorations)
{
    if (!list.is_array())
        throw DefinitionError{"\"decorations\" must be a list"};
    for (size_t i = 0; i < list.size(); i++) {
        const json &d = list[i];
        const std::string where = "decoration " + std::to_string(i);
        GardenDecoration decoration;
        decoration.kind = OneOf(d, "kind",
                                {"tree", "bush", "rock", "pond", "bed", "stump", "pumpkin", "birdbath", "pot",
                                 "leaves"},
                                where);
        decoration.at = Point(Field(d, "at", where), where);
        decoration.radius = Number(d, "radius", where);
        decoration.radius_y = NumberOr(d, "radius_y", decoration.radius, where);
        decoration.angle = NumberOr(d, "angle", 0.0, where);
        decoration.colours = Colours(d, where);
        Positive(decoration.radius, "radius", where);
        Positive(decoration.radius_y, "radius_y", where);
        decorations->push_back(decoration);
    }
}

void ReadScatter(const json &list, std::vector<GardenScatter> *scatter)
{
    if (!list.is_array())
        throw DefinitionError{"\"scatter\" must be a list"};
    for (size_t i = 0; i < list.size(); i++) {
        const json &s = list[i];
        const std::string where = "scatter " + std::to_string(i);
        GardenScatter item;
        item.kind = OneOf(s, "kind", {"daisy", "flower", "clover", "pebble", "leaf", "tuft"}, where);
        item.count = Integer(s, "count", where);
        item.size = Number(s, "size", where);
        item.colours = Colours(s, where);
        if (item.count < 0 || item.count > 100000)
            throw DefinitionError{where + ": \"count\" out of range"};
        Positive(item.size, "size", where);
        if ((item.kind == "flower" || item.kind == "leaf") && item.colours.empty())
            throw DefinitionError{where + ": " + item.kind + " needs \"colours\""};
        scatter->push_back(item);
    }
}

}  // namespace

bool GardenDefinitionLoad(const std::string &path, GardenDefinition *garden, std::string *error)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        *error = path + ": cannot be read";
        return false;
    }
    std::stringstream text;
    text << in.rdbuf();
    json root = json::parse(text.str(), nullptr, false, true);
    if (root.is_discarded() || !root.is_object()) {
        *error = path + ": not a JSON object";
        return false;
    }
    try {
        *garden = GardenDefinition();
        garden->number = Integer(root, "garden", "top");
        garden->name = Text(root, "name", "top");
        garden->seed = (uint64_t)Integer(root, "seed", "top");
        const json &window = Field(root, "target_window", "top");
        if (!window.is_array() || window.size() != 2 || !window[0].is_number_integer() ||
            !window[1].is_number_integer())
            throw DefinitionError{"top: \"target_window\" is [steps from the start, steps before the end]"};
        garden->target_start = window[0].get<int>();
        garden->target_end = window[1].get<int>();
        ReadGround(Field(root, "ground", "top"), &garden->ground);
        ReadRoad(Field(root, "road", "top"), &garden->road);
        if (root.contains("decorations"))
            ReadDecorations(root.at("decorations"), &garden->decorations);
        if (root.contains("scatter"))
            ReadScatter(root.at("scatter"), &garden->scatter);
    } catch (const DefinitionError &e) {
        *error = path + ": " + e.text;
        return false;
    }
    return true;
}
