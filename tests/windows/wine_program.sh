#!/usr/bin/env bash
# wine_program.sh EXE: runs a Windows program under Wine where the end-to-end scripts run a
# native one (see with_wine_prefix.sh for the prefix). Wine becomes the program's process, so
# its id and exit status are the program's.
#
# SDL2 draws with its software renderer unless SDL_RENDER_DRIVER names another: its default,
# Direct3D, goes through Wine's translation onto OpenGL and Mesa's software rasteriser here, which
# is slow and stalls for seconds. The program itself still chooses its renderer as it does
# natively. A disk audio file named by a
# Unix path is handed over as the Windows path Wine gives it (the Z: drive is the Unix root).
set -euo pipefail
export SDL_RENDER_DRIVER=${SDL_RENDER_DRIVER:-software}
if [[ ${SDL_DISKAUDIOFILE:-} == /* ]]; then
  SDL_DISKAUDIOFILE="Z:${SDL_DISKAUDIOFILE//\//\\}"
fi
exec wine "$@"
