# Sourced by the build scripts: compile through ccache when it is installed, so that a second build of the same
# sources (another build type's tree, a later run on the same machine, another clone) reuses the objects. Paths
# are hashed relative to the repository, so clones at other paths share one cache.
launcher=()
if command -v ccache >/dev/null 2>&1; then
  export CCACHE_BASEDIR="${CCACHE_BASEDIR:-$PWD}" CCACHE_NOHASHDIR=1
  export CCACHE_SLOPPINESS="${CCACHE_SLOPPINESS:-include_file_mtime,include_file_ctime}"
  launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
fi
