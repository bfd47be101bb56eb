// qorscene's import of a large editor scene: a million triangles, written
// as an editor writes OBJ (quads, positions, texture coordinates and
// normals per corner), read through assimp, joined, given tangents, turned
// into a scene file's records and written as its bytes: what `qorscene
// import` does before it writes the file.
#include "SceneImporter.h"
#include "scene/format/QorWriter.h"
#include "support/TemporaryFolder.h"

#include <benchmark/benchmark.h>

#include <math.h>
#include <stdio.h>

namespace
{

// A rippled sheet of a_columns x a_rows quads: 2 x a_columns x a_rows
// triangles once split.
void writeSheet(const std::string& a_path, int a_columns, int a_rows)
{
    FILE* file = fopen(a_path.c_str(), "w");
    if (!file)
        return;
    fputs("o Sheet\n", file);
    for (int y = 0; y <= a_rows; ++y)
        for (int x = 0; x <= a_columns; ++x)
        {
            const float height = 0.1f * sinf(float(x) * 0.3f) * cosf(float(y) * 0.2f);
            fprintf(file, "v %d %.4f %d\nvt %.5f %.5f\n", x, height, y, float(x) / float(a_columns),
                    float(y) / float(a_rows));
        }
    fputs("vn 0 1 0\n", file);
    const int stride = a_columns + 1;
    for (int y = 0; y < a_rows; ++y)
        for (int x = 0; x < a_columns; ++x)
        {
            const int a = y * stride + x + 1, b = a + 1, c = a + stride + 1, d = a + stride;
            fprintf(file, "f %d/%d/1 %d/%d/1 %d/%d/1 %d/%d/1\n", a, a, d, d, c, c, b, b);
        }
    fclose(file);
}

void BM_ImportMillionTriangles(benchmark::State& a_state)
{
    TemporaryFolder folder(true);
    const int columns = 1000, rows = 500;
    writeSheet("sheet.obj", columns, rows);
    uint64_t triangles = 0;
    for (auto _ : a_state)
    {
        SceneImporter importer(SceneImporter::Options{});
        QorFile file;
        std::string error;
        if (!importer.import("sheet.obj", file, error))
        {
            a_state.SkipWithError(error.c_str());
            break;
        }
        std::vector<uint8_t> bytes;
        if (!QorWriter::write(file, bytes, error))
        {
            a_state.SkipWithError(error.c_str());
            break;
        }
        triangles = std::get<QorMesh>(file.records.at(0)).indices.size() / 3;
    }
    a_state.counters["triangles"] = double(triangles);
}
BENCHMARK(BM_ImportMillionTriangles)->Unit(benchmark::kSecond)->Iterations(2);

}  // namespace
