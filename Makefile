# The two commands a newcomer needs are `make play` and `make test`;
# both install what is missing, configure and build first.

BUILD      := build
ASAN_BUILD := build/asan
GENERATOR  := Ninja
JOBS       ?= $(shell nproc 2>/dev/null || echo 2)

.PHONY: all deps configure build play test test-fast test-asan clean web web-deps serve-web test-web scorm

# The browser build: the engine from cmake/web with Debian's emscripten, then
# `krvtool web` puts the default quiz beside it (README: "The game in a
# browser"). `make test` ends with the browser test, so it installs the web
# compiler and the browser too; the desktop build needs neither.
WEB_ENGINE_BUILD := $(BUILD)/web-engine-build
WEB_ENGINE       := $(BUILD)/web-engine
WEB_SITE         := $(BUILD)/web
# Debian's emcc runs its JavaScript optimizer on the machine's node, which
# finds Debian's node modules only when told where they are.
WEB_ENV          := NODE_PATH=/usr/share/nodejs
# The browser test drives Debian's chromium through playwright-core, kept in
# the build folder; this version still runs on Debian 12's node 18.
WEB_TEST         := $(BUILD)/web-test
PLAYWRIGHT       := 1.49.1
# The quiz maker page (tools/maker/): its module, the default quiz's site it
# makes quizzes from (site/), and the zip library the page packs with, from
# the npm registry, kept in the build folder.
MAKER            := $(BUILD)/maker
MAKER_DEPS       := $(BUILD)/maker-deps
FFLATE           := 0.8.2

all: build

deps:
	@sh tools/ensure-packages.sh

configure: deps
	@cmake -S . -B $(BUILD) -G $(GENERATOR) -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

play: build
	cd $(BUILD)/game && ./keravon

test-fast: build
	ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)

test-asan: deps
	@cmake -S . -B $(ASAN_BUILD) -G $(GENERATOR) -DCMAKE_BUILD_TYPE=Debug -DKRV_SANITIZE=ON >/dev/null
	@cmake --build $(ASAN_BUILD) -j $(JOBS)
	ctest --test-dir $(ASAN_BUILD) --output-on-failure -j $(JOBS)

test: test-fast test-asan test-web

web-deps:
	@sh tools/ensure-web-packages.sh

web: build web-deps
	@$(WEB_ENV) emcmake cmake -S cmake/web -B $(WEB_ENGINE_BUILD) -G $(GENERATOR) \
		-DKRV_WEB_ENGINE_DIR=$(abspath $(WEB_ENGINE)) -DKRV_MAKER_DIR=$(abspath $(MAKER)) >/dev/null
	@$(WEB_ENV) cmake --build $(WEB_ENGINE_BUILD) -j $(JOBS)
	@$(BUILD)/krvtool web $(BUILD)/game -o $(WEB_SITE) --engine $(WEB_ENGINE)
	@$(BUILD)/krvtool web $(BUILD)/game -o $(MAKER)/site --engine $(WEB_ENGINE) >/dev/null
	@grep -qs '"version": "$(FFLATE)"' $(MAKER_DEPS)/node_modules/fflate/package.json || \
		npm install --prefix $(MAKER_DEPS) --no-audit --no-fund --no-save fflate@$(FFLATE) >/dev/null
	@cp $(MAKER_DEPS)/node_modules/fflate/umd/index.js $(MAKER)/fflate.js

# Headless chromium replays tests/web/*.keys on the site in script mode; every
# page must be byte-identical to `krvtool run` of the same script.
test-web: web
	@WITH_BROWSER=1 sh tools/ensure-web-packages.sh
	@grep -qs '"version": "$(PLAYWRIGHT)"' $(WEB_TEST)/node_modules/playwright-core/package.json || \
		npm install --prefix $(WEB_TEST) --no-audit --no-fund --no-save \
			playwright-core@$(PLAYWRIGHT) >/dev/null
	NODE_PATH=$(abspath $(WEB_TEST))/node_modules node tests/web/browser_test.js \
		$(WEB_SITE) $(BUILD)/krvtool $(BUILD)/game $(WEB_TEST)/out tests/web/*.keys
	NODE_PATH=$(abspath $(WEB_TEST))/node_modules:$(abspath $(MAKER_DEPS))/node_modules \
		node tests/web/maker_test.js $(MAKER) $(BUILD)/krvtool $(BUILD)/game $(WEB_TEST)/maker

# The default quiz as a package for learning platforms (README: "In a
# learning platform").
scorm: web
	@$(BUILD)/krvtool scorm $(BUILD)/game -o $(BUILD)/keravon-scorm.zip --engine $(WEB_ENGINE)

serve-web: web
	python3 tools/serve-web.py $(WEB_SITE) $(MAKER) 8000

clean:
	rm -rf $(BUILD)
