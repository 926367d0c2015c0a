#include "ui/model/pictures.h"

#include <gtest/gtest.h>

#include <map>

namespace velmo::draw {
namespace {

// How many steps of each kind a drawing has, by the step's index in Step.
std::map<size_t, int> Kinds(const Drawing& drawing) {
    std::map<size_t, int> kinds;
    for (const Step& step : drawing)
        ++kinds[step.index()];
    return kinds;
}

constexpr size_t kPen = 0, kEllipse = 4, kRect = 3, kText = 6, kSave = 7, kTranslate = 9,
                 kRotate = 10;

// Each name gives its own drawing, whole; a square picture asked for at
// another size is drawn in the middle of it.
TEST(PicturesTest, EachNameItsDrawing) {
    struct Row {
        const char* name;
        int width, height;
        int pens, ellipses, rects, texts, rotations, moves;
        bool centred;
    } rows[] = {
        {"icon", 32, 32, 4, 4, 1, 0, 1, 1, false},
        {"icon", 40, 20, 4, 4, 1, 0, 1, 2, true},
        {"cabinet", 25, 25, 1, 0, 6, 0, 0, 0, false},
        {"banner", 356, 48, 6, 4, 3, 2, 1, 2, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const std::optional<Drawing> drawing = Picture(row.name, row.width, row.height);
        ASSERT_TRUE(drawing.has_value());
        std::map<size_t, int> kinds = Kinds(*drawing);
        EXPECT_EQ(kinds[kPen], row.pens);
        EXPECT_EQ(kinds[kEllipse], row.ellipses);
        EXPECT_EQ(kinds[kRect], row.rects);
        EXPECT_EQ(kinds[kText], row.texts);
        EXPECT_EQ(kinds[kRotate], row.rotations);
        const auto* moved = std::get_if<Translate>(&(*drawing)[1]);
        EXPECT_EQ(row.centred, std::holds_alternative<Save>(drawing->front()) && moved != nullptr &&
                                   moved->dx == 10 && moved->dy == 0);
        EXPECT_EQ(kinds[kTranslate], row.moves);
        EXPECT_EQ(kinds[kSave], kinds[8]);  // every Save has its Restore
    }
    EXPECT_FALSE(Picture("Icon", 32, 32).has_value());
    EXPECT_FALSE(Picture("", 32, 32).has_value());
}

// The banner's title and tagline grow with its height, never below a
// readable size.
TEST(PicturesTest, BannerTextSizes) {
    const struct {
        int height;
        double title, tagline;
    } rows[] = {{48, 31, 10}, {112, 73, 24}, {8, 10, 8}};
    for (const auto& row : rows) {
        const std::optional<Drawing> banner = Picture("banner", 380, row.height);
        ASSERT_TRUE(banner.has_value());
        std::vector<DrawText> texts;
        for (const Step& step : *banner)
            if (const auto* text = std::get_if<DrawText>(&step))
                texts.push_back(*text);
        ASSERT_EQ(texts.size(), 2u);
        EXPECT_TRUE(texts[0].text == u8"Velmo");
        EXPECT_EQ(texts[0].pixelSize, row.title) << row.height;
        EXPECT_EQ(texts[1].pixelSize, row.tagline) << row.height;
    }
}

}  // namespace
}  // namespace velmo::draw
