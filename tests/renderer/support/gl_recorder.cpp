#include "tests/renderer/support/gl_recorder.h"

#include <algorithm>

#include "renderer/gl_api.h"
#include "renderer/texture_loader.h"

namespace glrec {

std::vector<Call>& calls() {
    static std::vector<Call> recorded;
    return recorded;
}

void clear() { calls().clear(); }

std::vector<std::string> names() {
    std::vector<std::string> out;
    for (const Call& c : calls()) out.push_back(c.name);
    return out;
}

int count(const std::string& name) {
    return static_cast<int>(std::count_if(calls().begin(), calls().end(),
                                          [&](const Call& c) { return c.name == name; }));
}

TextureLoad& textureLoad() {
    static TextureLoad load;
    return load;
}

}  // namespace glrec

namespace {
void record(const char* name, std::vector<double> args = {}) {
    glrec::calls().push_back({name, std::move(args)});
}
}  // namespace

namespace fulmina {
bool loadPictureTexture(const char* path, unsigned* textureName) {
    auto& load = glrec::textureLoad();
    ++load.calls;
    load.lastPath = path;
    if (!load.succeed) return false;
    *textureName = load.name;
    return true;
}
}  // namespace fulmina

extern "C" {
void glLineWidth(GLfloat w) { record("glLineWidth", {w}); }
void glBegin(GLenum mode) { record("glBegin", {double(mode)}); }
void glEnd() { record("glEnd"); }
void glVertex3d(GLdouble x, GLdouble y, GLdouble z) { record("glVertex3d", {x, y, z}); }
void glVertex3f(GLfloat x, GLfloat y, GLfloat z) { record("glVertex3f", {x, y, z}); }
void glTexCoord2f(GLfloat s, GLfloat t) { record("glTexCoord2f", {s, t}); }
void glColor4f(GLfloat r, GLfloat g, GLfloat b, GLfloat a) { record("glColor4f", {r, g, b, a}); }
void glPushMatrix() { record("glPushMatrix"); }
void glPopMatrix() { record("glPopMatrix"); }
void glTranslatef(GLfloat x, GLfloat y, GLfloat z) { record("glTranslatef", {x, y, z}); }
void glRotatef(GLfloat a, GLfloat x, GLfloat y, GLfloat z) { record("glRotatef", {a, x, y, z}); }
void glLoadIdentity() { record("glLoadIdentity"); }
void glEnable(GLenum cap) { record("glEnable", {double(cap)}); }
void glDisable(GLenum cap) { record("glDisable", {double(cap)}); }
void glBlendFunc(GLenum s, GLenum d) { record("glBlendFunc", {double(s), double(d)}); }
void glBindTexture(GLenum target, GLuint name) { record("glBindTexture", {double(target), double(name)}); }
void glViewport(GLint x, GLint y, GLsizei w, GLsizei h) { record("glViewport", {double(x), double(y), double(w), double(h)}); }
void glMatrixMode(GLenum mode) { record("glMatrixMode", {double(mode)}); }
void gluPerspective(GLdouble fovy, GLdouble aspect, GLdouble zNear, GLdouble zFar) {
    record("gluPerspective", {fovy, aspect, zNear, zFar});
}
void glClearColor(GLclampf r, GLclampf g, GLclampf b, GLclampf a) { record("glClearColor", {r, g, b, a}); }
void glClearDepth(GLclampd d) { record("glClearDepth", {d}); }
void glDepthFunc(GLenum f) { record("glDepthFunc", {double(f)}); }
void glShadeModel(GLenum m) { record("glShadeModel", {double(m)}); }
void glHint(GLenum target, GLenum mode) { record("glHint", {double(target), double(mode)}); }
void glClear(GLbitfield mask) { record("glClear", {double(mask)}); }
void glFlush() { record("glFlush"); }
}
