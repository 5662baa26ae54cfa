#include "demo/FrameComposition.h"

#include <GL/glew.h>
#include <GL/freeglut.h>

#include "ShowFacts.h"
#include "app/RunState.h"
#include "app/SceneAssembly.h"
#include "demo/DemoTimeline.h"
#include "model/Actor.h"
#include "resource/ShaderProgram.h"
#include "scene/Background.h"
#include "scene/Block.h"
#include "scene/GroundMaterial.h"
#include "scene/SunLight.h"

namespace {

void drawSun() {
    glPushMatrix();
    glDisable(GL_LIGHTING);
    sun->draw();
    glEnable(GL_LIGHTING);
    glPopMatrix();
}

void useGroundProgram(const Matrix4& lightMatrix) {
    glUseProgramObjectARB(shaderProgram);
    // Looked up by name every frame; a name the shaders lack gives -1, which GL ignores.
    glUniform1iARB(glGetUniformLocationARB(shaderProgram, "texture"), 0);
    glUniform1iARB(glGetUniformLocationARB(shaderProgram, "normalMapTexture"), 1);
    glUniformMatrix4fvARB(glGetUniformLocationARB(shaderProgram, "lightMatrix"), 1, GL_TRUE, lightMatrix.m);
}

// Draws the ground through the bump program, marking every visible ground
// pixel with stencil 1; ground hidden behind actors or platforms keeps 0.
void drawMarkedGround(const Matrix4& lightMatrix) {
    glEnable(GL_STENCIL_TEST);
    glStencilFunc(GL_ALWAYS, 1, 1);
    glStencilOp(GL_KEEP, GL_KEEP, GL_REPLACE);
    glDisable(GL_LIGHTING);
    useGroundProgram(lightMatrix);
    glTranslatef(0.0f, -GROUND_DEPTH, 0.0f);
    drawGround();
    glUseProgramObjectARB(0);
}

// Shadow pixels are translucent black, drawn only on marked ground. Drawing
// one clears its mark, so overlapping shadows darken a pixel once.
void beginShadowPass() {
    glStencilFunc(GL_EQUAL, 1, 1);
    glStencilOp(GL_KEEP, GL_KEEP, GL_ZERO);
    glPushMatrix();
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_LIGHTING);
    glColor4f(0.0f, 0.0f, 0.0f, 0.5f);
}

void endShadowPass() {
    glEnable(GL_LIGHTING);
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_DEPTH_TEST);
    glPopMatrix();
    glDisable(GL_STENCIL_TEST);
}

// Flattens the scene onto the marked ground. The projection works in the
// ground's frame, GROUND_DEPTH below the actors' origin, where the surface is
// the plane y = 0.
void drawShadows(float time) {
    beginShadowPass();
    Vec4 light = sun->position;
    light.y += GROUND_DEPTH;
    light.w = 1.0f;
    shadowMatrix.makeShadowMatrix(shadowPlane, light);
    glMultMatrixf(shadowMatrix.m);
    glTranslatef(0.0f, GROUND_DEPTH, 0.0f);
    drawSceneShadows(time);
    endShadowPass();
}

// One shadow quad over all the ground drawGround lays out, in its frame.
void drawGroundShadowQuad() {
    const GroundExtent& ground = GROUND_EXTENT;
    glBegin(GL_QUADS);
    glVertex3f(ground.minX, 0.0f, ground.minZ);
    glVertex3f(ground.minX, 0.0f, ground.maxZ);
    glVertex3f(ground.maxX, 0.0f, ground.maxZ);
    glVertex3f(ground.maxX, 0.0f, ground.minZ);
    glEnd();
}

// The camera of every frame; the matrix the ground program takes for it.
Matrix4 placeCamera() {
    glTranslatef(0.0f, cameraHeight, cameraDistance);
    glRotatef(cameraPitch, 1.0f, 0.0f, 0.0f);
    Matrix4 lightMatrix;
    lightMatrix.loadTranslation(0.0f, cameraHeight, cameraDistance);
    return lightMatrix;
}

}  // namespace

void drawScene(float time) {
    if (backupActor->visible) {
        backupActor->draw(time);
    }
    for (Actor* actor : actors) {
        if (actor->visible) {
            actor->draw(time);
        }
    }
    for (Block* block : blocks) {
        block->draw();
    }
}

void drawSceneShadows(float time) {
    if (backupActor->visible) {
        backupActor->drawShadow(time);
    }
    for (Actor* actor : actors) {
        if (actor->visible) {
            actor->drawShadow(time);
        }
    }
    for (Block* block : blocks) {
        block->drawShadow();
    }
}

void drawFrame() {
    const float animationTime = speedFactor * elapsedSeconds;
    // The modelview matrix is still the identity, so the background stays put on screen.
    drawBackground();

    glPushMatrix();  // camera level
    Matrix4 lightMatrix = placeCamera();
    // Given after the camera, so the light sits in the scene's frame.
    glLightfv(GL_LIGHT0, GL_POSITION, &sun->position.x);
    drawSun();

    glPushMatrix();
    drawScene(animationTime);
    glPopMatrix();

    glPushMatrix();  // ground level
    drawMarkedGround(lightMatrix);
    drawShadows(animationTime);
    glPopMatrix();

    glPopMatrix();  // camera level: the identity again
}

void drawFloorFrame() {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
    drawBackground();
    glPushMatrix();
    Matrix4 lightMatrix = placeCamera();
    glLightfv(GL_LIGHT0, GL_POSITION, &sun->position.x);
    drawMarkedGround(lightMatrix);
    beginShadowPass();
    drawGroundShadowQuad();
    endShadowPass();
    glPopMatrix();
}

void playFrame() {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
    stepTimeline();
    drawFrame();
}

void onDisplay() {
    playFrame();
    glutPostRedisplay();
    glutSwapBuffers();
}
