// ESLint for the project's JavaScript: the page's modules and the bench's
// baseline page run in the browser as modules, the end-to-end suite's
// driver in node.
import js from "@eslint/js";
import globals from "globals";

export default [
    {ignores: ["build/", "build-*/", "**/node_modules/"]},
    js.configs.recommended,
    {
        files: ["web/**/*.js", "bench/**/*.js"],
        languageOptions: {globals: globals.browser},
    },
    {
        files: ["**/*.mjs"],
        languageOptions: {globals: globals.node},
    },
    {
        rules: {
            "eqeqeq": "error",
            "no-var": "error",
            "prefer-const": "error",
            "no-shadow": "error",
        },
    },
];
