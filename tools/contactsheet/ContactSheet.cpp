// zorbi-contactsheet RUN_FOLDER OUTPUT.png [NAME FIRST_FRAME LAST_FRAME [TURN [ZOOM]]]
// zorbi-contactsheet RUN_FOLDER OUTPUT.png icon SIZE
//
// With "icon" and a size in pixels it draws the program's icon instead: the
// hero standing, turned towards the viewer, on a transparent background.
//
// With a name and a frame range it draws a film strip of that character's
// keyframes instead, for looking at one animation closely, turned TURN
// degrees about the up axis and magnified ZOOM times.
//
// Draws every character of the show through the program's own Actor, in the
// poses the show plays (stand, run, jump, salute, point) at a few keyframes
// each, lit by the program's fixed GL state with light 0 where the sun
// stands, and saves the sheet as one PNG. Each cell is drawn in the back
// buffer of a small GLUT window and read back before any swap, which works
// under Xvfb with Mesa's software renderer.

// GLEW must come before any other GL header.
// clang-format off
#include <GL/glew.h>
#include <GL/freeglut.h>
#include <GL/glu.h>
// clang-format on

#include <cstdio>
#include <filesystem>
#include <iterator>
#include <string>
#include <vector>

#include "OffscreenTarget.h"
#include "PngFile.h"
#include "ShowFacts.h"
#include "app/GLState.h"
#include "model/Actor.h"
#include "model/AnimationState.h"

namespace {

constexpr int CELL_WIDTH = 150;
constexpr int CELL_HEIGHT = 200;
constexpr int LABEL_WIDTH = 76;
constexpr int HEADER_HEIGHT = 22;
constexpr int WINDOW_WIDTH = 1250;  // wide enough for the line-up
// The icon's camera: how far from the figure, and the height it looks at.
constexpr float ICON_DISTANCE = 95.0f;
constexpr float ICON_CENTRE_HEIGHT = 6.0f;
// Degrees about the up axis from the profile: the face towards the viewer.
constexpr float ICON_TURN = -60.0f;

// A pose in the sheet: an animation number, a frame inside the whole file,
// and how far the figure is turned about the up axis (0: profile, facing
// right as in the show).
struct Shot {
    const char* label;
    int animation;
    int frame;
    float turn;
    float zoom = 1.0f;
};

const std::vector<Shot> SHOTS = {
    {"stand01", STAND, 0, 0.0f},
    {"stand 3/4", STAND, 0, -50.0f},
    {"stand21", STAND, 20, 0.0f},
    {"run1", RUN, 40, 0.0f},
    {"run3", RUN, 42, 0.0f},
    {"run5", RUN, 44, 0.0f},
    {"jump1", JUMP, 66, 0.0f},
    {"jump2", JUMP, 67, 0.0f},
    {"jump4", JUMP, 69, 0.0f},
    {"salute04", SALUTE, 87, 0.0f},
    {"salute 3/4", SALUTE, 89, -40.0f},
    {"point05", POINT, 127, 0.0f},
    {"point 3/4", POINT, 127, -40.0f},
};

const std::vector<const char*> CAST(std::begin(CAST_NAMES), std::end(CAST_NAMES));

void drawText(int x, int y, const std::string& text, int viewportWidth, int viewportHeight) {
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    gluOrtho2D(0.0, viewportWidth, 0.0, viewportHeight);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glDisable(GL_LIGHTING);
    glDisable(GL_DEPTH_TEST);
    glColor3f(1.0f, 1.0f, 1.0f);
    glRasterPos2i(x, y);
    glutBitmapString(GLUT_BITMAP_HELVETICA_12, reinterpret_cast<const unsigned char*>(text.c_str()));
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_LIGHTING);
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
}

// The ground the figures stand on, where the show draws it.
void drawGround() {
    glColor3f(0.45f, 0.5f, 0.42f);
    glNormal3f(0.0f, 1.0f, 0.0f);
    glBegin(GL_QUADS);
    glVertex3f(-60.0f, -GROUND_DEPTH, 60.0f);
    glVertex3f(60.0f, -GROUND_DEPTH, 60.0f);
    glVertex3f(60.0f, -GROUND_DEPTH, -60.0f);
    glVertex3f(-60.0f, -GROUND_DEPTH, -60.0f);
    glEnd();
    glColor3f(1.0f, 1.0f, 1.0f);
}

// Shows one keyframe: the state is set so that drawing steps no frame.
void showFrame(Actor& actor, const Shot& shot) {
    actor.setAnimation(shot.animation);
    const float time = 100.0f;
    actor.animationState.currentFrame = shot.frame;
    actor.animationState.nextFrame = shot.frame;
    actor.animationState.currentTime = time;
    actor.animationState.stepTime = time;
    actor.animationState.blend = 0.0f;
    actor.draw(time);
}

void drawCell(Actor& actor, const Shot& shot) {
    glViewport(0, 0, CELL_WIDTH, CELL_HEIGHT);
    glClearColor(0.42f, 0.55f, 0.7f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(50.0, static_cast<double>(CELL_WIDTH) / CELL_HEIGHT, 1.0, 1000.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glPushMatrix();
    // The show's camera looks down 25 degrees from further away; closer here.
    glTranslatef(0.0f, -7.0f, -92.0f);
    glRotatef(12.0f, 1.0f, 0.0f, 0.0f);
    glScalef(shot.zoom, shot.zoom, shot.zoom);
    // A magnified view centres on the head.
    glTranslatef(0.0f, -22.0f * (1.0f - 1.0f / shot.zoom), 0.0f);
    // The sun a quarter of the way round its orbit: up, in front, to the right.
    const GLfloat sunPosition[] = {120.0f, 100.0f, 160.0f, 1.0f};
    glLightfv(GL_LIGHT0, GL_POSITION, sunPosition);
    drawGround();
    glPushMatrix();
    glRotatef(shot.turn, 0.0f, 1.0f, 0.0f);
    showFrame(actor, shot);
    glPopMatrix();
    glPopMatrix();
    drawText(4, 4, shot.label, CELL_WIDTH, CELL_HEIGHT);
}

// A 20-unit crate like the show's platforms, resting on the ground.
void drawCrate(float x, float z) {
    const float h = 10.0f;
    const float y = -14.0f;
    const float faces[5][4][3] = {
        {{-h, -h, h}, {h, -h, h}, {h, h, h}, {-h, h, h}},     {{h, -h, h}, {h, -h, -h}, {h, h, -h}, {h, h, h}},
        {{-h, -h, -h}, {-h, -h, h}, {-h, h, h}, {-h, h, -h}}, {{-h, h, h}, {h, h, h}, {h, h, -h}, {-h, h, -h}},
        {{h, -h, -h}, {-h, -h, -h}, {-h, h, -h}, {h, h, -h}},
    };
    const float normals[5][3] = {{0, 0, 1}, {1, 0, 0}, {-1, 0, 0}, {0, 1, 0}, {0, 0, -1}};
    glColor3f(0.72f, 0.55f, 0.34f);
    glBegin(GL_QUADS);
    for (int f = 0; f < 5; ++f) {
        glNormal3fv(normals[f]);
        for (int k = 0; k < 4; ++k) {
            glVertex3f(x + faces[f][k][0], y + faces[f][k][1], z + faces[f][k][2]);
        }
    }
    glEnd();
    glColor3f(1.0f, 1.0f, 1.0f);
}

// The whole cast side by side, turned a little towards the viewer, beside a
// platform, seen from the show's camera angle.
void drawLineUp(std::vector<Actor*>& cast, int width) {
    glViewport(0, 0, width, CELL_HEIGHT);
    glClearColor(0.42f, 0.55f, 0.7f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(17.0, static_cast<double>(width) / CELL_HEIGHT, 1.0, 1000.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glPushMatrix();
    glTranslatef(20.0f, -2.0f, -270.0f);
    glRotatef(25.0f, 1.0f, 0.0f, 0.0f);
    const GLfloat sunPosition[] = {120.0f, 100.0f, 160.0f, 1.0f};
    glLightfv(GL_LIGHT0, GL_POSITION, sunPosition);
    glPushMatrix();
    glScalef(5.0f, 1.0f, 1.0f);
    drawGround();
    glPopMatrix();
    drawCrate(-190.0f, -10.0f);
    for (size_t i = 0; i < cast.size(); ++i) {
        glPushMatrix();
        glTranslatef(-150.0f + 52.0f * static_cast<float>(i), 0.0f, 0.0f);
        glRotatef(-35.0f, 0.0f, 1.0f, 0.0f);
        showFrame(*cast[i], {"", 0, 0, 0.0f});
        glPopMatrix();
    }
    glPopMatrix();
    drawText(4, 4, "the cast beside a 20-unit platform, from the show's camera angle", width, CELL_HEIGHT);
}

void drawSunCell(Actor& sun) {
    glViewport(0, 0, CELL_WIDTH, CELL_HEIGHT);
    glClearColor(0.1f, 0.1f, 0.1f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(50.0, static_cast<double>(CELL_WIDTH) / CELL_HEIGHT, 1.0, 1000.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glPushMatrix();
    glTranslatef(0.0f, 0.0f, -45.0f);
    glDisable(GL_LIGHTING);
    sun.draw(1.0f);
    glEnable(GL_LIGHTING);
    glPopMatrix();
    drawText(4, 4, "sun (unlit)", CELL_WIDTH, CELL_HEIGHT);
}

// Copies the bottom-left `width` x CELL_HEIGHT pixels of the back buffer
// into the sheet (top row first).
void copyCell(std::vector<std::uint8_t>& sheet, int sheetWidth, int left, int top, int width = CELL_WIDTH) {
    std::vector<std::uint8_t> cell(static_cast<size_t>(width) * CELL_HEIGHT * 3);
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, CELL_HEIGHT, GL_RGB, GL_UNSIGNED_BYTE, cell.data());
    for (int row = 0; row < CELL_HEIGHT; ++row) {
        const std::uint8_t* source = &cell[static_cast<size_t>(CELL_HEIGHT - 1 - row) * width * 3];
        std::uint8_t* target = &sheet[(static_cast<size_t>(top + row) * sheetWidth + left) * 3];
        std::copy(source, source + width * 3, target);
    }
}

// Status 0 when the PNG is written whole, 1 after a line naming the file and
// why. Pixels of 3 bytes are RGB, of 4 RGBA.
int savePicture(const std::string& path, int width, int height, const std::vector<std::uint8_t>& pixels) {
    std::string error;
    const bool withAlpha = pixels.size() == static_cast<size_t>(width) * height * 4;
    if (!(withAlpha ? writePngRgba(path, width, height, pixels, error)
                    : writePng(path, width, height, pixels, error))) {
        std::fprintf(stderr, "zorbi-contactsheet: %s\n", error.c_str());
        return 1;
    }
    return 0;
}

void drawLabelCell(const std::string& text, std::vector<std::uint8_t>& sheet, int sheetWidth, int left, int top,
                   int width, int height) {
    glViewport(0, 0, CELL_WIDTH, CELL_HEIGHT);
    glClearColor(0.16f, 0.16f, 0.2f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    drawText(4, CELL_HEIGHT - height / 2 - 4, text, CELL_WIDTH, CELL_HEIGHT);
    std::vector<std::uint8_t> cell(static_cast<size_t>(CELL_WIDTH) * CELL_HEIGHT * 3);
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, CELL_WIDTH, CELL_HEIGHT, GL_RGB, GL_UNSIGNED_BYTE, cell.data());
    for (int row = 0; row < height; ++row) {
        const std::uint8_t* source = &cell[static_cast<size_t>(CELL_HEIGHT - 1 - row) * CELL_WIDTH * 3];
        std::uint8_t* target = &sheet[(static_cast<size_t>(top + row) * sheetWidth + left) * 3];
        std::copy(source, source + width * 3, target);
    }
}

// One row: the character's keyframes from `first` to `last`.
std::vector<std::uint8_t> filmStrip(const char* name, int first, int last, float turn, float zoom, int& width,
                                    int& height) {
    Actor actor(name);
    int columns = last - first + 1;
    width = columns * CELL_WIDTH;
    height = CELL_HEIGHT;
    std::vector<std::uint8_t> strip(static_cast<size_t>(width) * height * 3, 40);
    for (int column = 0; column < columns; ++column) {
        int frame = first + column;
        int animation = 0;
        while (animation + 1 < ANIMATION_RANGE_COUNT && animationRanges[animation + 1].firstFrame <= frame) {
            ++animation;
        }
        std::string label = "frame " + std::to_string(frame);
        drawCell(actor, {label.c_str(), animation, frame, turn, zoom});
        copyCell(strip, width, column * CELL_WIDTH, 0);
    }
    return strip;
}

// Each icon pixel averages this many pixels squared of a larger drawing, so
// the outline is smooth at any size.
constexpr int ICON_SUPERSAMPLING = 4;

// Averages `factor` x `factor` blocks of bottom-up RGBA pixels into top-down
// RGBA; colours are weighted by their coverage so the edges do not darken.
std::vector<std::uint8_t> shrinkToTopDown(const std::vector<std::uint8_t>& large, int size, int factor) {
    const int largeWidth = size * factor;
    std::vector<std::uint8_t> icon(static_cast<size_t>(size) * size * 4);
    for (int row = 0; row < size; ++row) {
        for (int column = 0; column < size; ++column) {
            double sum[4] = {0.0, 0.0, 0.0, 0.0};
            for (int y = 0; y < factor; ++y) {
                for (int x = 0; x < factor; ++x) {
                    const size_t at = (static_cast<size_t>(row * factor + y) * largeWidth + column * factor + x) * 4;
                    const double alpha = large[at + 3];
                    for (int channel = 0; channel < 3; ++channel) {
                        sum[channel] += large[at + channel] * alpha;
                    }
                    sum[3] += alpha;
                }
            }
            std::uint8_t* target = &icon[(static_cast<size_t>(size - 1 - row) * size + column) * 4];
            for (int channel = 0; channel < 3; ++channel) {
                target[channel] = sum[3] > 0.0 ? static_cast<std::uint8_t>(sum[channel] / sum[3] + 0.5) : 0;
            }
            target[3] = static_cast<std::uint8_t>(sum[3] / (factor * factor) + 0.5);
        }
    }
    return icon;
}

// The hero standing, turned three quarters towards the viewer, lit as on the
// sheet, filling a square with nothing behind it.
std::vector<std::uint8_t> drawIcon(int size) {
    const int large = size * ICON_SUPERSAMPLING;
    OffscreenTarget target(large, large);
    target.bind();
    glViewport(0, 0, large, large);
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
    // Opaque where the figure is: the skin's alpha must not thin the icon.
    glDisable(GL_BLEND);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(30.0, 1.0, 1.0, 1000.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glPushMatrix();
    glTranslatef(0.0f, 0.0f, -ICON_DISTANCE);
    glRotatef(10.0f, 1.0f, 0.0f, 0.0f);
    glTranslatef(0.0f, -ICON_CENTRE_HEIGHT, 0.0f);
    const GLfloat sunPosition[] = {120.0f, 100.0f, 160.0f, 1.0f};
    glLightfv(GL_LIGHT0, GL_POSITION, sunPosition);
    glRotatef(ICON_TURN, 0.0f, 1.0f, 0.0f);
    Actor hero(CAST_NAMES[0]);
    showFrame(hero, {"", STAND, 0, ICON_TURN});
    glPopMatrix();
    glEnable(GL_BLEND);
    return shrinkToTopDown(target.readPixels(), size, ICON_SUPERSAMPLING);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3 && argc != 5 && (argc < 6 || argc > 8)) {
        std::fprintf(stderr,
                     "usage: zorbi-contactsheet RUN_FOLDER OUTPUT.png [NAME FIRST_FRAME LAST_FRAME [TURN [ZOOM]]]\n"
                     "       zorbi-contactsheet RUN_FOLDER OUTPUT.png icon SIZE\n");
        return 2;
    }
    std::string output = std::filesystem::absolute(argv[2]).string();
    std::filesystem::current_path(argv[1]);

    glutInit(&argc, argv);
    glutInitDisplayMode(GLUT_RGBA | GLUT_DOUBLE | GLUT_DEPTH | GLUT_STENCIL);
    glutInitWindowSize(WINDOW_WIDTH, CELL_HEIGHT);
    glutCreateWindow("Get Zorbi contact sheet");
    glewInit();
    initGLState();

    if (argc == 5 && std::string(argv[3]) == "icon") {
        const int size = std::stoi(argv[4]);
        return savePicture(output, size, size, drawIcon(size));
    }
    if (argc >= 6) {
        int width = 0;
        int height = 0;
        float turn = argc >= 7 ? std::stof(argv[6]) : 0.0f;
        float zoom = argc >= 8 ? std::stof(argv[7]) : 1.0f;
        std::vector<std::uint8_t> strip =
            filmStrip(argv[3], std::stoi(argv[4]), std::stoi(argv[5]), turn, zoom, width, height);
        return savePicture(output, width, height, strip);
    }

    int columns = static_cast<int>(SHOTS.size());
    int rows = static_cast<int>(CAST.size());
    int sheetWidth = LABEL_WIDTH + columns * CELL_WIDTH;
    // One row per character, then the sun and the line-up.
    int sheetHeight = HEADER_HEIGHT + (rows + 1) * CELL_HEIGHT;
    std::vector<std::uint8_t> sheet(static_cast<size_t>(sheetWidth) * sheetHeight * 3, 40);

    drawLabelCell("Get Zorbi", sheet, sheetWidth, 0, 0, LABEL_WIDTH, HEADER_HEIGHT);
    for (int column = 0; column < columns; ++column) {
        drawLabelCell(SHOTS[column].label, sheet, sheetWidth, LABEL_WIDTH + column * CELL_WIDTH, 0, CELL_WIDTH,
                      HEADER_HEIGHT);
    }
    std::vector<Actor*> cast;
    for (int row = 0; row < rows; ++row) {
        if (!std::filesystem::exists(characterModelPath(CAST[row]))) {
            std::fprintf(stderr, "zorbi-contactsheet: no model for %s, row left empty\n", CAST[row]);
            continue;
        }
        Actor* actor = new Actor(CAST[row]);
        cast.push_back(actor);
        int top = HEADER_HEIGHT + row * CELL_HEIGHT;
        drawLabelCell(CAST[row], sheet, sheetWidth, 0, top, LABEL_WIDTH, CELL_HEIGHT);
        for (int column = 0; column < columns; ++column) {
            drawCell(*actor, SHOTS[column]);
            copyCell(sheet, sheetWidth, LABEL_WIDTH + column * CELL_WIDTH, top);
        }
    }
    int lastTop = HEADER_HEIGHT + rows * CELL_HEIGHT;
    drawLabelCell("sun, cast", sheet, sheetWidth, 0, lastTop, LABEL_WIDTH, CELL_HEIGHT);
    Actor sun("sun");
    drawSunCell(sun);
    copyCell(sheet, sheetWidth, LABEL_WIDTH, lastTop);
    int lineUpWidth = std::min(WINDOW_WIDTH, sheetWidth - LABEL_WIDTH - CELL_WIDTH);
    drawLineUp(cast, lineUpWidth);
    copyCell(sheet, sheetWidth, LABEL_WIDTH + CELL_WIDTH, lastTop, lineUpWidth);
    if (savePicture(output, sheetWidth, sheetHeight, sheet) != 0) {
        return 1;
    }
    std::printf("zorbi-contactsheet: wrote %s (%d x %d)\n", output.c_str(), sheetWidth, sheetHeight);
    return 0;
}
