#pragma once

// One textured cube platform: five faces (the side facing away from the
// camera, normal (0, 0, -1), is never seen and not drawn), all sharing one
// texture. Some faces wind the other way round, so blocks rely on face
// culling being off while they are drawn.
class Block {
public:
    // Centre of the cube, world units. In the show the timeline scrolls x
    // every frame and y and z stay where assembly put them; resetScene puts
    // all three back, and tests move platforms where they need them.
    float x;
    float y;
    float z;
    float halfSize;  // half the edge length, 10 for every block

    // The texture of every block; 0 until the first block is constructed,
    // which makes it from BLOCK_TEXTURE_PATH and keeps it for good. Tests
    // clear it so that a block loads their own file, or set it so that a
    // block loads none.
    static unsigned int blockTexture;

    // Needs a current GL context: the first block uploads the shared texture.
    Block(float x, float y, float z);

    // Scene pass: textured (modulating the lit current colour) at the block's
    // position. Sets no colour, material or lighting of its own.
    void draw();

    // Shadow pass: the same faces without texture coordinates, under whatever
    // colour and projection the caller has set.
    void drawShadow();

private:
    // The shadow pass sends no texture coordinates.
    enum class TexCoords { Send, Skip };
    void drawFaces(TexCoords texCoords);
};
