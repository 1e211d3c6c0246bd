// The stage compiler's reading of text maps: the cell order of the stage
// file, every character's tile type, and the refusal of a wrong map with
// its line number.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tools/stage/stage_text.h"

namespace {

// 15 rows of 20: S at column 1, row 12; G at column 18, row 11; a floor;
// every other kind of cell once in row 0.
std::vector<std::string> walk_rows() {
    std::vector<std::string> rows(15, std::string(20, '.'));
    rows[0] = ".#~^*xSG............";
    rows[11][18] = 'G';
    rows[12][1] = 'S';
    rows[13] = std::string(20, '#');
    rows[14] = std::string(20, '#');
    return rows;
}

std::string join(const std::vector<std::string>& rows, const char* line_end = "\n") {
    std::string text;
    for (const auto& r : rows) text += r + line_end;
    return text;
}

int compile(const std::string& text, int32_t* cells, std::string* error) {
    char message[128] = "";
    const int ok = stage_text_compile(text.data(), text.size(), cells, message, sizeof message);
    *error = message;
    return ok;
}

TEST(StageText, CellsAreWrittenColumnByColumn) {
    int32_t cells[stage_text_cells];
    std::string error;
    ASSERT_EQ(compile("; stage for the walk test\n" + join(walk_rows()), cells, &error), 1) << error;
    // Row 0 lists every kind: column c holds type c.
    for (int c = 0; c < 8; ++c) EXPECT_EQ(cells[15 * c + 0], c) << "column " << c;
    EXPECT_EQ(cells[15 * 1 + 12], 6);  // S
    EXPECT_EQ(cells[15 * 18 + 11], 7); // G
    EXPECT_EQ(cells[15 * 19 + 13], 1);
    EXPECT_EQ(cells[15 * 19 + 12], 0);
    unsigned char bytes[4 * stage_text_cells];
    stage_text_file_bytes(cells, bytes);
    const int k = 15 * 18 + 11;
    EXPECT_EQ(bytes[4 * k], 7);
    EXPECT_EQ(bytes[4 * k + 1], 0);
    EXPECT_EQ(bytes[4 * k + 3], 0);
}

TEST(StageText, WindowsLineEndsAndCommentsBetweenRowsAreAccepted) {
    auto rows = walk_rows();
    std::string text = join(rows, "\r\n");
    text.insert(text.find("\r\n") + 2, "; the second row\r\n\r\n");
    int32_t a[stage_text_cells], b[stage_text_cells];
    std::string error;
    ASSERT_EQ(compile(text, a, &error), 1) << error;
    ASSERT_EQ(compile(join(rows), b, &error), 1) << error;
    EXPECT_EQ(std::vector<int32_t>(a, a + stage_text_cells), std::vector<int32_t>(b, b + stage_text_cells));
}

TEST(StageText, WrongMapsAreRefusedWithTheirLineNumber) {
    auto with_row = [](int row, const std::string& replacement) {
        auto rows = walk_rows();
        rows[row] = replacement;
        return join(rows);
    };
    const struct {
        std::string text;
        const char* message;
    } cases[] = {
        {with_row(3, std::string(19, '.')), "line 4: 19 characters, a row has 20"},
        {with_row(3, std::string(21, '.')), "line 4: 21 characters, a row has 20"},
        {with_row(5, "....o..............."), "line 6, column 5: unknown character 'o'"},
        {with_row(5, "....s..............."), "line 6, column 5: unknown character 's'"},
        {with_row(0, std::string("...\t................")), "line 1, column 4: unknown character 0x09"},
        {join(walk_rows()) + std::string(20, '.') + "\n", "line 16: more than 15 rows"},
        {"; header\n" + join(std::vector<std::string>(14, std::string(20, '.'))), "line 15: 14 rows, a stage has 15"},
        {"", "line 0: 0 rows, a stage has 15"},
    };
    for (const auto& c : cases) {
        int32_t cells[stage_text_cells];
        std::string error;
        EXPECT_EQ(compile(c.text, cells, &error), 0) << c.message;
        EXPECT_EQ(error, c.message);
    }
}

}  // namespace
