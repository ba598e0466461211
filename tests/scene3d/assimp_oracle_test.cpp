// Oracle: meshes written by assimp's 3DS exporter, read back by assimp and by
// our reader. The exporter writes meshes, materials and a keyframer hierarchy
// of bare object nodes; it writes no cameras, lights or tracks.
#include "scene3d/kf.h"
#include "tests/scene3d/scene_files.h"

#include <assimp/Exporter.hpp>
#include <assimp/Importer.hpp>
#include <assimp/material.h>
#include <assimp/scene.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace vilora {
namespace {

aiMesh* mesh(const char* name, unsigned material, std::initializer_list<aiVector3D> vertices,
             std::initializer_list<std::array<unsigned, 3>> faces) {
    auto* m = new aiMesh();
    m->mName = name;
    m->mMaterialIndex = material;
    m->mPrimitiveTypes = aiPrimitiveType_TRIANGLE;
    m->mNumVertices = static_cast<unsigned>(vertices.size());
    m->mVertices = new aiVector3D[vertices.size()];
    m->mTextureCoords[0] = new aiVector3D[vertices.size()];
    m->mNumUVComponents[0] = 2;
    unsigned i = 0;
    for (const aiVector3D& v : vertices) {
        m->mTextureCoords[0][i] = aiVector3D(static_cast<float>(i) / 4, 0.5f, 0);
        m->mVertices[i++] = v;
    }
    m->mNumFaces = static_cast<unsigned>(faces.size());
    m->mFaces = new aiFace[faces.size()];
    i = 0;
    for (const auto& f : faces) {
        m->mFaces[i].mNumIndices = 3;
        m->mFaces[i++].mIndices = new unsigned[3]{f[0], f[1], f[2]};
    }
    return m;
}

aiNode* child(aiNode* parent, const char* name, unsigned mesh_index, float tx) {
    auto* n = new aiNode(name);
    n->mNumMeshes = 1;
    n->mMeshes = new unsigned[1]{mesh_index};
    n->mTransformation.a4 = tx;
    n->mParent = parent;
    parent->addChildren(1, &n);
    return n;
}

// Two meshes in two materials; material names of five or more characters put
// a name byte (not below 2) at the version offset 28, since the exporter
// writes no version chunks.
void export_scene(const char* path) {
    aiScene s;
    s.mRootNode = new aiNode("Root");
    s.mNumMaterials = 2;
    s.mMaterials = new aiMaterial*[2];
    const char* names[2] = {"Steel", "Glass"};
    for (int i = 0; i < 2; ++i) {
        s.mMaterials[i] = new aiMaterial();
        aiString name(names[i]);
        s.mMaterials[i]->AddProperty(&name, AI_MATKEY_NAME);
        aiColor3D colour(i == 0 ? 0.5f : 0.0f, 0.25f, 1.0f);
        s.mMaterials[i]->AddProperty(&colour, 1, AI_MATKEY_COLOR_DIFFUSE);
    }
    s.mNumMeshes = 2;
    s.mMeshes = new aiMesh*[2];
    s.mMeshes[0] =
        mesh("Quad", 0, {{0, 0, 0}, {2, 0, 0}, {2, 3, 0}, {0, 3, 1}}, {{0, 1, 2}, {0, 2, 3}});
    s.mMeshes[1] = mesh("Wedge", 1, {{1, 1, 1}, {-2, 0, 4}, {0, 5, -1}}, {{0, 1, 2}, {2, 1, 0}});
    child(s.mRootNode, "Panel", 0, 10);
    child(s.mRootNode, "Shard", 1, -3);
    Assimp::Exporter exporter;
    ASSERT_EQ(exporter.Export(&s, "3ds", path), aiReturn_SUCCESS) << exporter.GetErrorString();
}

class AssimpOracle : public ::testing::Test {
protected:
    void SetUp() override {
        kf_init(13);
        export_scene(file.path());
        read = importer.ReadFile(file.path(), 0);
        ASSERT_NE(read, nullptr) << importer.GetErrorString();
        kf_alloc_scene(&scene);
        ASSERT_EQ(kf_load_world(file.path(), scene), 0);
        kf_set_active(scene);
    }
    void TearDown() override { kf_free_scene(scene); }

    test::temp_file file{"assimp.3ds"};
    Assimp::Importer importer;
    const aiScene* read = nullptr;
    kf_scene* scene = nullptr;
};

// Each node of assimp's graph that holds a mesh is one of our objects, by
// name; corner by corner the vertices agree after the y/z exchange.
TEST_F(AssimpOracle, MeshesFacesAndNamesMatch) {
    int meshes_seen = 0;
    std::function<void(const aiNode*)> visit = [&](const aiNode* n) {
        for (unsigned k = 0; k < n->mNumMeshes; ++k) {
            const aiMesh* m = read->mMeshes[n->mMeshes[k]];
            SCOPED_TRACE(n->mName.C_Str());
            kf_object* o = kf_as_object(kf_find(KF_OBJECT, n->mName.C_Str()));
            ASSERT_NE(o, nullptr);
            ++meshes_seen;
            ASSERT_EQ(static_cast<unsigned>(o->face_count), m->mNumFaces);
            aiString material_name;
            read->mMaterials[m->mMaterialIndex]->Get(AI_MATKEY_NAME, material_name);
            for (unsigned f = 0; f < m->mNumFaces; ++f) {
                const kf_face& face = o->faces[f];
                const int corners[3] = {face.a, face.b, face.c};
                for (int c = 0; c < 3; ++c) {
                    const kf_vertex& v = o->vertices[corners[c]];
                    const aiVector3D& want = m->mVertices[m->mFaces[f].mIndices[c]];
                    EXPECT_NEAR(v.position.x, want.x, 1e-4) << "face " << f << " corner " << c;
                    EXPECT_NEAR(v.position.y, want.z, 1e-4) << "face " << f << " corner " << c;
                    EXPECT_NEAR(v.position.z, want.y, 1e-4) << "face " << f << " corner " << c;
                    if (m->HasTextureCoords(0)) {
                        const aiVector3D& uv = m->mTextureCoords[0][m->mFaces[f].mIndices[c]];
                        EXPECT_NEAR(v.u, uv.x, 1e-6);
                        EXPECT_NEAR(v.v, uv.y, 1e-6);
                    }
                }
                ASSERT_NE(face.material, nullptr);
                EXPECT_STREQ(face.material->name, material_name.C_Str());
            }
        }
        for (unsigned c = 0; c < n->mNumChildren; ++c) visit(n->mChildren[c]);
    };
    visit(read->mRootNode);
    EXPECT_EQ(meshes_seen, 2);
}

TEST_F(AssimpOracle, MaterialsMatch) {
    for (unsigned i = 0; i < read->mNumMaterials; ++i) {
        aiString name;
        read->mMaterials[i]->Get(AI_MATKEY_NAME, name);
        kf_material* ours = kf_as_material(kf_find(KF_MATERIAL, name.C_Str()));
        if (!ours) continue; // the importer adds a default material of its own
        aiColor3D diffuse;
        read->mMaterials[i]->Get(AI_MATKEY_COLOR_DIFFUSE, diffuse);
        EXPECT_NEAR(ours->diffuse.x, diffuse.r, 1e-6) << name.C_Str();
        EXPECT_NEAR(ours->diffuse.y, diffuse.g, 1e-6) << name.C_Str();
    }
    int ours = 0;
    for (kf_world_node* n = scene->world_head; n; n = n->next) ours += n->type == KF_MATERIAL;
    EXPECT_EQ(ours, 2);
}

// The exporter's keyframer names its group nodes ("Root") that are not world
// records: the motion pass reports the undefined name and keeps the world.
TEST_F(AssimpOracle, MotionNamesAGroupNodeThatIsNoRecord) {
    EXPECT_EQ(kf_load_motion(file.path(), scene), KF_UNDEFINED_NAME);
    EXPECT_EQ(scene->node_head, nullptr);
    EXPECT_NE(scene->world_head, nullptr);
}

} // namespace
} // namespace vilora
