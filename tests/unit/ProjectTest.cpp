#include "project/Digest.h"
#include "project/Project.h"

#include <gtest/gtest.h>

#include <string>

namespace {

const std::string DIGEST(64, 'a');
const std::string IMAGE = "[image]\noriginal = \"jogo.sfc\"\nsha256 = \"" + DIGEST + "\"\n";

ProjectProblem problemOf(const std::string& text) {
    Project project;
    return readProject(text, "", project);
}

}  // namespace

TEST(ProjectFile, AFullFileReadsEveryKey) {
    const std::string text = IMAGE +
                             "output = \"t.sfc\"\npatches = [\"a.bps\", \"b.IPS\"]\n"
                             "free = [\"$98:E000:$99:8000\", \"c6000:c6100\"]\n"
                             "[graphics]\nfolder = \"g\"\nallow-resize = true\ndefault = { bpp = 4, columns = 8 }\n"
                             "[graphics.format]\n9 = { bpp = 2 }\n12 = { mode7 = true, palette = \"p.pal\", palette-row = 1 }\n"
                             "[text]\ntable = \"j.tbl\"\nscript = \"t.txt\"\nlong-pointers = [\"$99:8000:4\"]\n"
                             "pointers = [\"$98:8000:7\"]\nlabels = \"r.txt\"\n"
                             "[font]\ngraphic = 3\nadvance = \"glyph\"\n[box]\nlines = 2\nbreak = [\"<fim>\"]\n";
    Project project;
    ASSERT_EQ(readProject(text, "pasta/", project).kind, ProjectProblem::None);
    EXPECT_EQ(project.path(project.original), "pasta/jogo.sfc");
    EXPECT_EQ(project.path("/x/y"), "/x/y");
    EXPECT_EQ(project.patches, (std::vector<std::string>{"a.bps", "b.IPS"}));
    ASSERT_EQ(project.freeRanges.size(), 2u);
    EXPECT_EQ(project.freeRanges[0].start, 0xC6000u);
    EXPECT_EQ(project.freeRanges[0].end, 0xC8000u);
    EXPECT_EQ(project.freeRanges[1].end, 0xC6100u);
    EXPECT_TRUE(project.allowResize);
    EXPECT_EQ(project.formatOf(9).format, TileFormat::Bpp2);
    EXPECT_EQ(project.formatOf(9).columns, 8u);
    EXPECT_EQ(project.formatOf(12).format, TileFormat::Mode7);
    EXPECT_EQ(project.formatOf(12).paletteRow, 1u);
    EXPECT_EQ(project.formatOf(13).format, TileFormat::Bpp4);
    ASSERT_EQ(project.pointerTables.size(), 2u);
    EXPECT_FALSE(project.pointerTables[0].isLong);
    EXPECT_EQ(project.pointerTables[0].offset, 0xC0000u);
    EXPECT_EQ(project.pointerTables[1].count, 4u);
    EXPECT_EQ(project.preview.font.graphic, 3);
    EXPECT_TRUE(project.preview.font.measured);
    EXPECT_EQ(project.preview.box.lines, 2);
    EXPECT_EQ(project.preview.box.width, 224);
    EXPECT_EQ(project.preview.box.breaks, (std::vector<std::string>{"<fim>"}));
}

TEST(ProjectFile, MalformedFilesAreRefusedWithLineAndKey) {
    struct Case {
        std::string text;
        ProjectProblem::Kind kind;
        uint32_t line;
        std::string key;
    };
    const Case cases[] = {
        {IMAGE + "output = \n", ProjectProblem::Syntax, 4, ""},
        {IMAGE + "[extra]\nx = 1\n", ProjectProblem::UnknownSection, 4, "extra"},
        {IMAGE + "colour = 1\n", ProjectProblem::UnknownKey, 4, "image.colour"},
        {IMAGE + "output = 3\n", ProjectProblem::WrongType, 4, "image.output"},
        {IMAGE + "patches = \"a.bps\"\n", ProjectProblem::WrongType, 4, "image.patches"},
        {IMAGE + "patches = [\"a.zip\"]\n", ProjectProblem::BadValue, 4, "image.patches"},
        {IMAGE + "free = [\"$98:E000\"]\n", ProjectProblem::BadPosition, 4, "image.free"},
        {IMAGE + "free = [\n\"$7E:8000:$7E:9000\"]\n", ProjectProblem::BadPosition, 5, "image.free"},
        {"[image]\noriginal = \"j\"\nsha256 = \"12\"\n", ProjectProblem::BadValue, 3, "image.sha256"},
        {"[image]\nsha256 = \"" + DIGEST + "\"\n", ProjectProblem::MissingKey, 0, "image.original"},
        {"[text]\ntable = \"t\"\n", ProjectProblem::MissingKey, 0, "image.original"},
        {IMAGE + "[graphics.format]\n169 = { bpp = 2 }\n", ProjectProblem::BadGraphic, 5, "graphics.format.169"},
        {IMAGE + "[graphics.format]\nnove = { bpp = 2 }\n", ProjectProblem::BadGraphic, 5, "graphics.format.nove"},
        {IMAGE + "[graphics.format]\n9 = { bpp = 5 }\n", ProjectProblem::BadValue, 5, "graphics.format.9.bpp"},
        {IMAGE + "[graphics.format]\n9 = { bpp = 2, mode7 = true }\n", ProjectProblem::BadValue, 5,
         "graphics.format.9.mode7"},
        {IMAGE + "[graphics.format]\n9 = { depth = 2 }\n", ProjectProblem::UnknownKey, 5, "graphics.format.9.depth"},
        {IMAGE + "[graphics]\nallow-resize = \"sim\"\n", ProjectProblem::WrongType, 5, "graphics.allow-resize"},
        {IMAGE + "[graphics]\ndefault = { columns = 3, blocks16 = true }\n", ProjectProblem::BadValue, 5,
         "graphics.default.blocks16"},
        {IMAGE + "[text]\npointers = [\"$98:8000:0\"]\n", ProjectProblem::BadPosition, 5, "text.pointers"},
        {IMAGE + "[text]\nscript = \"t.txt\"\n", ProjectProblem::MissingKey, 0, "text.table"},
        {IMAGE + "[font]\nadvance = \"wide\"\n", ProjectProblem::BadValue, 5, "font.advance"},
        {IMAGE + "[font]\nadvance = true\n", ProjectProblem::WrongType, 5, "font.advance"},
        {IMAGE + "[font]\ngraphic = 169\n", ProjectProblem::BadValue, 5, "font.graphic"},
        {IMAGE + "[box]\nlines = 0\n", ProjectProblem::BadValue, 5, "box.lines"},
        {IMAGE + "[box]\nbreak = [1]\n", ProjectProblem::WrongType, 5, "box.break"},
    };
    for (const Case& c : cases) {
        const ProjectProblem problem = problemOf(c.text);
        EXPECT_EQ(problem.kind, c.kind) << c.text;
        EXPECT_EQ(problem.line, c.line) << c.text;
        EXPECT_EQ(problem.key, c.key) << c.text;
    }
}

TEST(ProjectFile, ANewProjectReadsBackWithItsNames) {
    Project project;
    const std::string text = newProjectText("dir\\jogo \"1\".sfc", DIGEST, "jogo.tbl");
    ASSERT_EQ(readProject(text, "", project).kind, ProjectProblem::None);
    EXPECT_EQ(project.original, "dir\\jogo \"1\".sfc");
    EXPECT_EQ(project.sha256, DIGEST);
    EXPECT_EQ(project.table, "jogo.tbl");
    EXPECT_EQ(project.patches, (std::vector<std::string>{"traducao.bps"}));
    EXPECT_TRUE(project.script.empty());
    ASSERT_EQ(readProject(newProjectText("j.sfc", DIGEST, ""), "", project).kind, ProjectProblem::None);
    EXPECT_TRUE(project.table.empty());
}

TEST(ProjectFile, AddedPointerTablesKeepEveryOtherLine) {
    const PointerTable shortTable{0xC0000, 7, false}, longTable{0xC8000, 4, true}, another{0xC0100, 2, false};
    struct Case {
        std::string before;
        std::string after;
    };
    const Case cases[] = {
        // No [text]: a section at the end.
        {IMAGE + "# fim", IMAGE + "# fim\n\n[text]\npointers = [\"$98:8000:7\", \"$98:8100:2\"]\n"
                                  "long-pointers = [\"$99:8000:4\"]\n"},
        // A [text] without the keys: lines after its last value, before
        // the next section and its comment.
        {IMAGE + "[text]\ntable = \"t\" # a tabela\n\n# fontes\n[font]\n",
         IMAGE + "[text]\ntable = \"t\" # a tabela\npointers = [\"$98:8000:7\", \"$98:8100:2\"]\n"
                 "long-pointers = [\"$99:8000:4\"]\n\n# fontes\n[font]\n"},
        // Lists that are there: one already listed, one empty, one over
        // lines with a comment and a trailing comma.
        {IMAGE + "[text]\npointers = [ \"$98:8000:7\" ] # achadas\nlong-pointers = []\n",
         IMAGE + "[text]\npointers = [ \"$98:8000:7\", \"$98:8100:2\" ] # achadas\n"
                 "long-pointers = [\"$99:8000:4\"]\n"},
        {IMAGE + "[text]\npointers = [\n  \"c0000:7\", # a primeira\n]\nlong-pointers = [\"$99:8000:4\"]\n",
         IMAGE + "[text]\npointers = [\n  \"c0000:7\", \"$98:8100:2\" # a primeira\n]\n"
                 "long-pointers = [\"$99:8000:4\"]\n"},
    };
    for (const Case& c : cases) {
        std::string text = c.before;
        ProjectProblem problem;
        ASSERT_TRUE(addPointerTables(text, {shortTable, longTable, another, shortTable}, problem)) << c.before;
        EXPECT_EQ(text, c.after);
        Project project;
        ASSERT_EQ(readProject(text, "", project).kind, ProjectProblem::None) << text;
        EXPECT_EQ(project.pointerTables.size(), 3u);
    }
    // An inline [text] takes the keys inside its braces; one made of
    // dotted keys takes none, and the file stays as it was.
    std::string inline_ = "text = { table = \"t\" }\n" + IMAGE;
    ProjectProblem inlineProblem;
    ASSERT_TRUE(addPointerTables(inline_, {shortTable}, inlineProblem));
    EXPECT_EQ(inline_, "text = { table = \"t\", pointers = [\"$98:8000:7\"] }\n" + IMAGE);
    std::string dotted = "text.table = \"t\"\n" + IMAGE;
    EXPECT_FALSE(addPointerTables(dotted, {shortTable}, inlineProblem));
    EXPECT_EQ(dotted, "text.table = \"t\"\n" + IMAGE);
    std::string broken = "[image\n";
    ProjectProblem problem;
    EXPECT_FALSE(addPointerTables(broken, {shortTable}, problem));
    EXPECT_EQ(problem.kind, ProjectProblem::Syntax);
    EXPECT_EQ(broken, "[image\n");
}

TEST(ProjectDigest, KnownDigests) {
    const std::string abc = "abc";
    EXPECT_EQ(sha256Hex(reinterpret_cast<const uint8_t*>(abc.data()), abc.size()),
              "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
    EXPECT_EQ(sha256Hex(nullptr, 0), "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
}
