// World objects and the one list that owns them, draws them and pairs them for collision tests.
#pragma once

#include <cstdint>

class maxMesh;
struct MESH;

enum OBJECT_TYPE : int32_t {
    B_BRUSKER = 0,
    B_PELLUM = 1,
    B_FLICKET = 2,
    PLAYER = 3,
    STATIONARY_PIECE = 4
};

class GameObject {
  public:
    bool collided;
    OBJECT_TYPE typeID;
    maxMesh* mesh; // owned; null for the balls
    float xpos, ypos, zpos;
    GameObject* next;

    // An object without a model (the balls); joins the list.
    GameObject();
    // An object with a model built from the named .3ds file; joins the list.
    explicit GameObject(const char* fileName);
    virtual ~GameObject();
    GameObject(const GameObject&) = delete;
    GameObject& operator=(const GameObject&) = delete;

    virtual void draw();
    virtual void detectCollision();
    virtual void reactCollision(float x, float y, float z, OBJECT_TYPE type);
    // One simulation step of this object; drawing starts with it, so a frame steps each object
    // just before drawing it. Nothing for an object that never moves.
    virtual void step();
    // False only when reactCollision is known to do nothing for a party of that type; the
    // collision pass then skips face tests whose every reaction would do nothing.
    virtual bool reactsTo(OBJECT_TYPE type) const;

    void getPos(float& x, float& y, float& z);
    maxMesh* getMesh();
    GameObject* walkForward();

    // True when the model exists and has something to draw or test.
    bool hasShape() const;

    // Set once the user answers No to the collision debug box; no box is shown after that.
    static bool collideBoxSilenced;

  private:
    void join();
    void collideFaces(GameObject* other, const MESH& a, const MESH& b);
};

class GameManager {
  public:
    GameObject* head;
    GameObject* current;

    GameManager();
    ~GameManager();
    GameManager(const GameManager&) = delete;
    GameManager& operator=(const GameManager&) = delete;

    void addObject(GameObject* obj);
    void findLast();
    // Steps and draws every object in list order.
    void drawAllObjects();
    // Steps every object in list order without drawing: a frame's simulation alone.
    void stepAllObjects();
    void checkCollisions();
};

// The one list of world objects; every object constructed joins it.
extern GameManager* hoopwind;

// Single-precision distance between two points, as every world test measures it.
float worldDistance(float ax, float ay, float az, float bx, float by, float bz);
