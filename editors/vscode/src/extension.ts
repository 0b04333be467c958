// Starts `kemptor-cli lsp` for Visual Basic and VBA buffers: formatting (whole buffers, selections, on
// save when the editor is set to), unknown words with their quick fixes, and optional house-style hints.
import * as vscode from "vscode";
import { LanguageClient, LanguageClientOptions, ServerOptions } from "vscode-languageclient/node";

let client: LanguageClient | undefined;

// The options the server takes from the client: which diagnostics to show.
function serverSettings(): { spelling: boolean; styleHints: boolean } {
  const config = vscode.workspace.getConfiguration("kemptor");
  return {
    spelling: config.get<boolean>("diagnostics.spelling", true),
    styleHints: config.get<boolean>("diagnostics.styleHints", false),
  };
}

async function start(): Promise<void> {
  const config = vscode.workspace.getConfiguration("kemptor");
  const command = config.get<string>("path", "kemptor-cli") || "kemptor-cli";
  const args = ["lsp", ...config.get<string[]>("arguments", [])];
  const serverOptions: ServerOptions = { run: { command, args }, debug: { command, args } };
  const clientOptions: LanguageClientOptions = {
    documentSelector: [
      { scheme: "file", language: "vb" },
      { scheme: "file", language: "vba" },
      { scheme: "file", pattern: "**/*.{bas,cls,frm,ctl,BAS,CLS,FRM,CTL}" },
      { scheme: "untitled", language: "vb" },
      { scheme: "untitled", language: "vba" },
    ],
    initializationOptions: serverSettings(),
  };
  client = new LanguageClient("kemptor", "Kemptor/VB", serverOptions, clientOptions);
  await client.start();
}

export async function activate(context: vscode.ExtensionContext): Promise<void> {
  context.subscriptions.push(
    vscode.workspace.onDidChangeConfiguration(async (event) => {
      if (!client) {
        return;
      }
      if (event.affectsConfiguration("kemptor.path") || event.affectsConfiguration("kemptor.arguments")) {
        // Another program or other options: the server starts again.
        await client.stop();
        await start();
      } else if (event.affectsConfiguration("kemptor.diagnostics")) {
        await client.sendNotification("workspace/didChangeConfiguration", { settings: { kemptor: serverSettings() } });
      }
    })
  );
  try {
    await start();
  } catch (error) {
    vscode.window.showErrorMessage(
      `Kemptor/VB: cannot start the language server (${String(error)}). Set "kemptor.path" to the kemptor-cli program.`
    );
  }
}

export async function deactivate(): Promise<void> {
  if (client) {
    await client.stop();
    client = undefined;
  }
}
