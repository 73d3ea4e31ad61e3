#include "tools/pictures/PictureSet.h"

#include "tools/pictures/Bmp.h"
#include "tools/pictures/Pictures.h"

namespace {

constexpr Colour kVoid = 0x000000;  // the black of whole screens, outside the palette

std::string Stem(const char* name)
{
    std::string stem = name;
    return stem.substr(0, stem.rfind('.'));
}

// Empty when the picture is sound, else the fault.
std::string Check(const PictureRecipe& recipe, const Image& image, const Palette& palette)
{
    int width = recipe.frameWidth * recipe.frames;
    if (image.width() != width || image.height() != recipe.height)
        return std::string(recipe.name) + ": drawn " + std::to_string(image.width()) + "x" +
               std::to_string(image.height()) + ", expected " + std::to_string(width) + "x" +
               std::to_string(recipe.height);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            Colour c = image.at(x, y);
            bool allowed =
                palette.Contains(c) || (recipe.key == Key::None ? c == kVoid : c == kClear);
            if (!allowed)
                return std::string(recipe.name) + ": pixel (" + std::to_string(x) + ", " +
                       std::to_string(y) + ") is neither a palette colour nor " +
                       (recipe.key == Key::None ? "screen black" : "clear");
        }
    return {};
}

}  // namespace

Colour KeyColour(Key key)
{
    switch (key) {
    case Key::None:
    case Key::Black: return 0x000000;
    case Key::White: return 0xFFFFFF;
    case Key::Green: return 0x00FF00;
    case Key::Blue: return 0x0000FF;
    case Key::Red: return 0xFF0000;
    }
    return 0;
}

const std::vector<PictureRecipe>& PictureRecipes()
{
    static const std::vector<PictureRecipe> specs = {
        {"black.bmp", 320, 240, 1, Key::None, BuildBlack},
        {"logo.bmp", 320, 240, 1, Key::None, BuildLogo},
        {"opening.bmp", 320, 240, 1, Key::None, BuildOpening},
        {"menu.bmp", 280, 128, 1, Key::Black, BuildMenu},
        {"staffroll.bmp", 320, 1200, 1, Key::None, BuildStaffRoll},
        {"gameover.bmp", 320, 240, 1, Key::None, BuildGameOver},
        {"tomu_sora.bmp", 320, 240, 1, Key::None, BuildSky},
        {"tomu_bg.bmp", 1536, 240, 1, Key::Green, BuildFarLand},
        {"tomu_ki.bmp", 960, 90, 1, Key::White, BuildTreeBand},
        {"velani.bmp", 32, 16, 4, Key::Black, nullptr},
        {"text.bmp", 8, 16, 10, Key::Black, BuildDigits},
        {"shot.bmp", 12, 6, 1, Key::Black, nullptr},
        {"laser.bmp", 32, 6, 1, Key::Black, nullptr},
        {"bbolo.bmp", 24, 24, 1, Key::Blue, nullptr},
        {"bbolo2.bmp", 24, 24, 1, Key::Blue, nullptr},
        {"tarune.bmp", 24, 24, 1, Key::Blue, nullptr},
        {"morisel.bmp", 32, 32, 1, Key::Black, nullptr},
        {"kanel.bmp", 32, 32, 1, Key::Black, nullptr},
        {"bolo.bmp", 24, 24, 1, Key::Red, nullptr},
        {"tama.bmp", 8, 8, 4, Key::Black, nullptr},
        {"bom.bmp", 16, 16, 4, Key::Black, nullptr},
        {"nazo.bmp", 12, 12, 1, Key::White, nullptr},
        {"onpu.bmp", 16, 16, 1, Key::White, nullptr},
        {"beam.bmp", 20, 9, 1, Key::Black, nullptr},
        {"bazooka.bmp", 16, 10, 1, Key::Black, nullptr},
        {"exp.bmp", 32, 32, 4, Key::Black, BuildExplosion},
        {"exp2.bmp", 48, 48, 5, Key::Black, BuildBlast},
        {"bar.bmp", 96, 8, 1, Key::None, BuildGauge},
        {"bomber.bmp", 320, 240, 1, Key::None, BuildBomber},
        {"bombertext.bmp", 208, 40, 1, Key::Black, BuildBomberCaption},
        {"kasuri.bmp", 16, 16, 4, Key::Black, BuildGrazeSpark},
    };
    return specs;
}

bool BuildPictures(const std::string& sourceFolder, std::vector<BuiltPicture>& pictures,
                   std::string& error)
{
    Sources sources;
    if (!sources.Load(sourceFolder, error))
        return false;
    pictures.clear();
    for (const PictureRecipe& recipe : PictureRecipes()) {
        size_t before = sources.problems.size();
        Image image = recipe.build ? recipe.build(sources) : sources.Grid(Stem(recipe.name));
        if (sources.problems.size() > before)
            continue;  // the grid's own fault says it all
        std::string fault = Check(recipe, image, sources.palette);
        if (!fault.empty())
            sources.problems.push_back(fault);
        else
            pictures.push_back({recipe.name, EncodeBmp(image, KeyColour(recipe.key))});
    }
    for (const std::string& name : sources.palette.missing())
        sources.problems.push_back(sourceFolder + "/palette.txt: no colour named '" + name + "'");
    for (const std::string& glyph : sources.latin.missing())
        sources.problems.push_back(sourceFolder + "/font.txt: no glyph for '" + glyph + "'");
    for (const std::string& glyph : sources.kana.missing())
        sources.problems.push_back(sourceFolder + "/kana.txt: no glyph for '" + glyph + "'");
    for (const std::string& glyph : sources.digits.missing())
        sources.problems.push_back(sourceFolder + "/digits.txt: no glyph for '" + glyph + "'");
    error.clear();
    for (const std::string& problem : sources.problems)
        error += (error.empty() ? "" : "\n") + problem;
    return error.empty();
}
